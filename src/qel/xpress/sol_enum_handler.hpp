// `qel::solEnumHandler`: keeps the MIP solution pool within its capacity while the solution
// enumerator runs, and `qel::SolEnumHandlerBlock`, the state it works on.
//
// Xpress calls the handler with every solution the enumerator finds. While the pool holds fewer
// solutions than the capacity, the solution goes in untouched. Once the pool is full, each call
// starts a cull round: the handler asks Xpress which stored solutions to drop, first by
// objective (as many as enumerator control 6601 says), then by diversity (control 6602), deletes
// them from the pool and tells Xpress whether to reject the new solution and whether to update
// its cutoff on the current set. When nothing was culled and the solution was not rejected, it
// falls back to asking for one solution by objective. After `maxCullRounds` rounds the next full
// pool rejects the solution and interrupts the problem with reason 9 (user interrupt).
//
//   qel::SolEnumHandlerBlock block;           // usually the enumerator's own
//   int capacity = 10;                        // 0 or less: no limit
//   XPRS_mse_opt(mse, prob, pool, qel::solEnumHandler, &block, &capacity);
//
// With `verbosity` above 0 the handler reports each cull round and the stop through `msgFn`
// (null problem, message type 1, texts ending in a line feed); a null `msgFn` drops them.
#ifndef QEL_XPRESS_SOL_ENUM_HANDLER_HPP_
#define QEL_XPRESS_SOL_ENUM_HANDLER_HPP_

#include <xprs.h>

#include <climits>

#include "qel/xpress/message_callback.hpp"

namespace qel {

// The culling state of one solution enumerator. Its address is the context of the culling
// handler and of the enumerator's message forwarding.
struct SolEnumHandlerBlock {
  int cullRound = 0;                // cull rounds started in the current enumeration
  int maxCullRounds = INT_MAX;      // cull rounds allowed before the enumeration is stopped
  int verbosity = 0;                // 0 silent; 1 and 2 report the cull rounds and the stop
  MessageCallback msgFn = nullptr;  // receives the enumerator's and the handler's messages
  void* msgCtx = nullptr;           // handed to msgFn; not owned
};

// The solution handler of XPRS_mse_opt. `context` is a SolEnumHandlerBlock, `maxSolutions` the
// capacity (only read). Returns 0 on every completed path, rejection included, and 1 when one of
// its own Xpress calls fails or its buffer of solution ids cannot be allocated; never throws.
// `modifiedObjective` is not used. Deletions made before a failure stay made.
int XPRS_CC solEnumHandler(XPRSmipsolenum enumerator, XPRSprob problem, XPRSmipsolpool pool,
                           void* context, int* maxSolutions, const double* solution,
                           int columnCount, double objective, double* modifiedObjective,
                           int* rejectSolution, int* updateCutoff);

}  // namespace qel

#endif  // QEL_XPRESS_SOL_ENUM_HANDLER_HPP_
