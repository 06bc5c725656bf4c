/*
 * xprs.h: C declarations of the Xpress optimizer callable library as this project uses it.
 *
 * The declarations follow the documented C API (names, argument order and types), so code
 * compiled against this header can link against libxprs, whichever library provides it. The
 * library built in this repository is a stand-in backed by COIN-OR Clp and Cbc.
 *
 * Contracts common to every function:
 * - the return value is 0 on success and non-zero on failure; after a failure the text read by
 *   XPRSgetlasterror names the function and the fault (at most 511 characters plus the NUL);
 * - a handle that was never created or is already destroyed is refused with an error, never
 *   dereferenced;
 * - bounds, right-hand sides and values of magnitude 1e20 or more are infinite;
 * - indices are 0-based; a "first..last" range is inclusive.
 */
#ifndef XPRS_H_
#define XPRS_H_

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define XPRS_CC __stdcall
#else
#define XPRS_CC
#endif

#if defined(_WIN32) && defined(XPRS_BUILDING_LIBRARY)
#define XPRS_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define XPRS_EXPORT __declspec(dllimport)
#else
#define XPRS_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN32)
typedef __int64 XPRSint64;
#elif defined(__LP64__) || defined(_LP64)
typedef long XPRSint64;
#else
typedef long long XPRSint64;
#endif

typedef struct xo_prob_struct* XPRSprob;
typedef struct XPRSmipsolpool_s* XPRSmipsolpool;
typedef struct XPRSmipsolenum_s* XPRSmipsolenum;
typedef struct XPRSobject_s* XPRSobject;

/* Limits and infinity. */
#define XPRS_PLUSINFINITY 1.0e+20
#define XPRS_MINUSINFINITY (-1.0e+20)
#define XPRS_MAXINT 2147483647
#define XPRS_MAXMESSAGELENGTH 512
#define XPRS_MAXBANNERLENGTH 512

/* Objective sense. */
#define XPRS_OBJ_MINIMIZE 1
#define XPRS_OBJ_MAXIMIZE (-1)

/* Name types of XPRSaddnames. */
#define XPRS_NAMES_ROW 1
#define XPRS_NAMES_COLUMN 2
#define XPRS_NAMES_SET 3
#define XPRS_NAMES_OBJECTIVE 6

/* Solve status (XPRSoptimize, attribute SOLVESTATUS). */
#define XPRS_SOLVESTATUS_UNSTARTED 0
#define XPRS_SOLVESTATUS_STOPPED 1
#define XPRS_SOLVESTATUS_FAILED 2
#define XPRS_SOLVESTATUS_COMPLETED 3

/* Solution status (XPRSoptimize, attribute SOLSTATUS). */
#define XPRS_SOLSTATUS_NOTFOUND 0
#define XPRS_SOLSTATUS_OPTIMAL 1
#define XPRS_SOLSTATUS_FEASIBLE 2
#define XPRS_SOLSTATUS_INFEASIBLE 3
#define XPRS_SOLSTATUS_UNBOUNDED 4

/* Availability of solution values (status argument of XPRSgetsolution and friends). */
#define XPRS_SOLAVAILABLE_NOTFOUND 0
#define XPRS_SOLAVAILABLE_OPTIMAL 1
#define XPRS_SOLAVAILABLE_FEASIBLE 2

/* Stop status (attribute STOPSTATUS) and XPRSinterrupt reasons; 1000 and above are the user's. */
#define XPRS_STOP_NONE 0
#define XPRS_STOP_TIMELIMIT 1
#define XPRS_STOP_CTRLC 2
#define XPRS_STOP_NODELIMIT 3
#define XPRS_STOP_ITERLIMIT 4
#define XPRS_STOP_MIPGAP 5
#define XPRS_STOP_SOLLIMIT 6
#define XPRS_STOP_GENERICERROR 7
#define XPRS_STOP_MEMORYERROR 8
#define XPRS_STOP_USER 9
#define XPRS_STOP_SOLVECOMPLETE 10
#define XPRS_STOP_LICENSELOST 11
#define XPRS_STOP_NUMERICALERROR 13
#define XPRS_STOP_WORKLIMIT 14
#define XPRS_STOP_NEXTOBJECTIVE 15

/* LP status (attribute LPSTATUS). */
#define XPRS_LP_UNSTARTED 0
#define XPRS_LP_OPTIMAL 1
#define XPRS_LP_INFEAS 2
#define XPRS_LP_CUTOFF 3
#define XPRS_LP_UNFINISHED 4
#define XPRS_LP_UNBOUNDED 5
#define XPRS_LP_CUTOFF_IN_DUAL 6
#define XPRS_LP_UNSOLVED 7
#define XPRS_LP_NONCONVEX 8

/* MIP status (attribute MIPSTATUS). */
#define XPRS_MIP_NOT_LOADED 0
#define XPRS_MIP_LP_NOT_OPTIMAL 1
#define XPRS_MIP_LP_OPTIMAL 2
#define XPRS_MIP_NO_SOL_FOUND 3
#define XPRS_MIP_SOLUTION 4
#define XPRS_MIP_INFEAS 5
#define XPRS_MIP_OPTIMAL 6
#define XPRS_MIP_UNBOUNDED 7

/* Optimisation type used (attribute OPTIMIZETYPEUSED). */
#define XPRS_OPTIMIZETYPE_NONE (-1)
#define XPRS_OPTIMIZETYPE_LP 0
#define XPRS_OPTIMIZETYPE_MIP 1
#define XPRS_OPTIMIZETYPE_LOCAL 2
#define XPRS_OPTIMIZETYPE_GLOBAL 3

/* Basis status; for rows it describes the slack (surplus) of the row. */
#define XPRS_AT_LOWER 0
#define XPRS_BASIC 1
#define XPRS_AT_UPPER 2
#define XPRS_FREE_SUPER 3

/* Default algorithm (control DEFAULTALG). */
#define XPRS_ALG_DEFAULT 1
#define XPRS_ALG_DUAL 2
#define XPRS_ALG_PRIMAL 3
#define XPRS_ALG_BARRIER 4
#define XPRS_ALG_NETWORK 5

/* Types reported by the get*info family. */
#define XPRS_TYPE_NOTDEFINED 0
#define XPRS_TYPE_INT 1
#define XPRS_TYPE_INT64 2
#define XPRS_TYPE_DOUBLE 3
#define XPRS_TYPE_STRING 4

/* Message types of the message callback. */
#define XPRS_MSG_INFO 1
#define XPRS_MSG_WARNING 3
#define XPRS_MSG_ERROR 4

/* Integer controls. */
#define XPRS_LPITERLIMIT 8007
#define XPRS_LPLOG 8009
#define XPRS_SCALING 8010
#define XPRS_PRESOLVE 8011
#define XPRS_MAXNODE 8018
#define XPRS_MAXTIME 8020
#define XPRS_MAXMIPSOL 8021
#define XPRS_DEFAULTALG 8023
#define XPRS_MIPLOG 8028
#define XPRS_OUTPUTLOG 8035
#define XPRS_CROSSOVER 8044
#define XPRS_BARITERLIMIT 8045
#define XPRS_BAROUTPUT 8047
#define XPRS_BARTHREADS 8053
#define XPRS_MPSNAMELENGTH 8071
#define XPRS_PRESOLVEOPS 8077
#define XPRS_MIPPRESOLVE 8078
#define XPRS_MIPTHREADS 8079
#define XPRS_SYMMETRY 8118
#define XPRS_CUTSTRATEGY 8138
#define XPRS_THREADS 8278
#define XPRS_RANDOMSEED 8328
#define XPRS_PRECOMPONENTS 8339
#define XPRS_TUNERMODE 8359
#define XPRS_TUNERMETHOD 8360
#define XPRS_TUNERTARGET 8362
#define XPRS_TUNERTHREADS 8363
#define XPRS_TUNERHISTORY 8365
#define XPRS_TUNERPERMUTE 8366
#define XPRS_TUNERVERBOSE 8370
#define XPRS_TUNEROUTPUT 8372
#define XPRS_HEUREMPHASIS 8427
#define XPRS_CALLBACKCHECKTIMEDELAY 8451
#define XPRS_MULTIOBJOPS 8457
#define XPRS_MULTIOBJLOG 8458

/* Double controls. */
#define XPRS_FEASTOL 7003
#define XPRS_OPTIMALITYTOL 7006
#define XPRS_MIPTOL 7009
#define XPRS_MIPADDCUTOFF 7012
#define XPRS_MIPABSCUTOFF 7013
#define XPRS_MIPRELCUTOFF 7014
#define XPRS_MIPABSSTOP 7019
#define XPRS_MIPRELSTOP 7020
#define XPRS_TIMELIMIT 7158
#define XPRS_SOLTIMELIMIT 7159
#define XPRS_MAXCUTTIME 8149
#define XPRS_TUNERMAXTIME 8364
#define XPRS_MAXSTALLTIME 8443

/* String controls. */
#define XPRS_OUTPUTMASK 6005
#define XPRS_TUNERMETHODFILE 6017
#define XPRS_TUNEROUTPUTPATH 6018
#define XPRS_TUNERSESSIONNAME 6019

/* Objective controls (XPRSgetobj*control / XPRSsetobj*control). */
#define XPRS_OBJECTIVE_PRIORITY 20001
#define XPRS_OBJECTIVE_WEIGHT 20002
#define XPRS_OBJECTIVE_ABSTOL 20003
#define XPRS_OBJECTIVE_RELTOL 20004
#define XPRS_OBJECTIVE_RHS 20005

/* Integer attributes. */
#define XPRS_ROWS 1001
#define XPRS_SETS 1004
#define XPRS_SETMEMBERS 1005
#define XPRS_ELEMS 1006
#define XPRS_PRIMALINFEAS 1007
#define XPRS_DUALINFEAS 1008
#define XPRS_SIMPLEXITER 1009
#define XPRS_LPSTATUS 1010
#define XPRS_MIPSTATUS 1011
#define XPRS_NODES 1013
#define XPRS_ACTIVENODES 1015
#define XPRS_MIPSOLNODE 1016
#define XPRS_MIPSOLS 1017
#define XPRS_COLS 1018
#define XPRS_SPAREROWS 1019
#define XPRS_SPARECOLS 1020
#define XPRS_ERRORCODE 1023
#define XPRS_MIPINFEAS 1024
#define XPRS_PRESOLVESTATE 1026
#define XPRS_NAMELENGTH 1028
#define XPRS_QELEMS 1030
#define XPRS_MIPENTS 1032
#define XPRS_ALGORITHM 1049
#define XPRS_SOLSTATUS 1053
#define XPRS_ORIGINALROWS 1124
#define XPRS_MAXPROBNAMELENGTH 1158
#define XPRS_STOPSTATUS 1179
#define XPRS_ORIGINALMIPENTS 1191
#define XPRS_ORIGINALSETS 1194
#define XPRS_ORIGINALCOLS 1214
#define XPRS_QCONSTRAINTS 1234
#define XPRS_CURRENTNODE 1248
#define XPRS_INDICATORS 1254
#define XPRS_OPTIMIZETYPEUSED 1268
#define XPRS_SOLVESTATUS 1394
#define XPRS_OBJECTIVES 1397
#define XPRS_SOLVEDOBJS 1399
#define XPRS_INPUTROWS 1408
#define XPRS_INPUTCOLS 1409
#define XPRS_BARITER 5001
#define XPRS_NLPSTOPSTATUS 12089

/* Double attributes. */
#define XPRS_TIME 1122
#define XPRS_LPOBJVAL 2001
#define XPRS_SUMPRIMALINF 2002
#define XPRS_MIPOBJVAL 2003
#define XPRS_BESTBOUND 2004
#define XPRS_OBJRHS 2005
#define XPRS_MIPBESTOBJVAL 2006
#define XPRS_OBJSENSE 2008
#define XPRS_MAXABSPRIMALINFEAS 2073
#define XPRS_MAXMIPINFEAS 2083
#define XPRS_OBJVAL 2118
#define XPRS_BARPRIMALOBJ 4001
#define XPRS_BARDUALOBJ 4002

/* Nonlinear formula tokens (XPRSnlpaddformulas). */
#define XPRS_TOK_EOF 0
#define XPRS_TOK_CON 1
#define XPRS_TOK_COL 10
#define XPRS_TOK_FUN 11
#define XPRS_TOK_IFUN 12
#define XPRS_TOK_LB 21
#define XPRS_TOK_RB 22
#define XPRS_TOK_DEL 24
#define XPRS_TOK_OP 31
#define XPRS_OP_UMINUS 1
#define XPRS_OP_EXPONENT 2
#define XPRS_OP_MULTIPLY 3
#define XPRS_OP_DIVIDE 4
#define XPRS_OP_PLUS 5
#define XPRS_OP_MINUS 6
#define XPRS_DEL_COMMA 1
#define XPRS_DEL_COLON 2
#define XPRS_IFUN_LOG10 14
#define XPRS_IFUN_LN 15
#define XPRS_IFUN_EXP 16
#define XPRS_IFUN_ABS 17
#define XPRS_IFUN_SQRT 18
#define XPRS_IFUN_SIN 27
#define XPRS_IFUN_COS 28
#define XPRS_IFUN_TAN 29
#define XPRS_IFUN_ARCSIN 30
#define XPRS_IFUN_ARCCOS 31
#define XPRS_IFUN_ARCTAN 32
#define XPRS_IFUN_MIN 33
#define XPRS_IFUN_MAX 34
#define XPRS_IFUN_SIGN 46
#define XPRS_IFUN_ERF 49
#define XPRS_IFUN_ERFC 50

/* Solution pool and enumerator ids. */
#define XPRS_MSP_DUPLICATESOLUTIONSPOLICY 6203
#define XPRS_MSP_SOLUTIONS 6208
#define XPRS_MSP_SOLPRB_OBJ 6500
#define XPRS_MSE_SOLUTIONS 6600
#define XPRS_MSE_CALLBACKCULLSOLS_MIPOBJECT 6601
#define XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY 6602
#define XPRS_MSE_CALLBACKCULLSOLS_MODOBJECT 6603
#define XPRS_MSE_METRIC_MIPOBJECT 6604
#define XPRS_MSE_METRIC_DIVERSITY 6605

/* Callback shapes. */
typedef void(XPRS_CC* XPRSmessagecb)(XPRSprob cbprob, void* cbdata, const char* msg, int msglen,
                                     int msgtype);
typedef int(XPRS_CC* XPRSchecktimecb)(XPRSprob cbprob, void* cbdata);
typedef void(XPRS_CC* XPRSintsolcb)(XPRSprob cbprob, void* cbdata);
typedef void(XPRS_CC* XPRSoptnodecb)(XPRSprob cbprob, void* cbdata, int* p_infeasible);
typedef int(XPRS_CC* XPRSobjmsghandler)(XPRSobject obj, void* userctx, void* thread,
                                        const char* msg, int msgtype, int msgcode);
typedef int(XPRS_CC* XPRSmsesolhandler)(XPRSmipsolenum mse, XPRSprob prob, XPRSmipsolpool msp,
                                        void* ctx, int* nMaxSols, const double* x, int nCols,
                                        double dMipObject, double* dModifiedObject,
                                        int* bRejectSoln, int* bUpdateMipAbsCutOffOnCurrentSet);

/* Library and problem life cycle. XPRSgetlasterror(NULL, buf) reads the error of the last call
 * that had no problem to keep it (XPRSinit, a failed XPRScreateprob, an unknown handle). */
XPRS_EXPORT int XPRS_CC XPRSinit(const char* path);
XPRS_EXPORT int XPRS_CC XPRSfree(void);
XPRS_EXPORT int XPRS_CC XPRSgetlicerrmsg(char* buffer, int maxbytes);
XPRS_EXPORT int XPRS_CC XPRScreateprob(XPRSprob* p_prob);
XPRS_EXPORT int XPRS_CC XPRSdestroyprob(XPRSprob prob);
XPRS_EXPORT int XPRS_CC XPRScopyprob(XPRSprob dest, XPRSprob src, const char* name);
XPRS_EXPORT int XPRS_CC XPRScopycallbacks(XPRSprob dest, XPRSprob src);
XPRS_EXPORT int XPRS_CC XPRSsetprobname(XPRSprob prob, const char* name);
XPRS_EXPORT int XPRS_CC XPRSgetprobname(XPRSprob prob, char* name);
XPRS_EXPORT int XPRS_CC XPRSgetlasterror(XPRSprob prob, char* errmsg);

/* Problem building. XPRSaddcols64: start has ncols entries (column j ends where column j+1
 * starts, the last at ncoefs); objcoef NULL gives 0, lb NULL gives 0, ub NULL gives +infinity.
 * XPRSaddrows64: start has nrows entries; rhs NULL gives 0; rng is read for 'R' rows only.
 * XPRSchgobj / XPRSchgobjn: column -1 sets the objective's right-hand side r, so that the
 * objective value is c'x + 1/2 x'Qx - r. XPRSchgmqobj64: one triplet (i, j) with i != j sets
 * both Q_ij and Q_ji; the objective holds 1/2 x'Qx; a zero coefficient deletes the entry.
 * XPRSaddqmatrix64: upper-triangle triplets of x'Qx without the 1/2 factor.
 * XPRSnlpaddformulas: formulas in reverse-Polish form only (parsed 1), each ending with
 * XPRS_TOK_EOF; a built-in function takes every value above the nearest XPRS_TOK_RB marker as
 * its arguments; a formula is added to its row's content (row -1: to the objective). Formulas
 * that do not form one value, and left brackets, delimiters and user functions, are refused. */
XPRS_EXPORT int XPRS_CC XPRSaddcols64(XPRSprob prob, int ncols, XPRSint64 ncoefs,
                                      const double objcoef[], const XPRSint64 start[],
                                      const int rowind[], const double rowcoef[], const double lb[],
                                      const double ub[]);
XPRS_EXPORT int XPRS_CC XPRSaddrows64(XPRSprob prob, int nrows, XPRSint64 ncoefs,
                                      const char rowtype[], const double rhs[], const double rng[],
                                      const XPRSint64 start[], const int colind[],
                                      const double rowcoef[]);
XPRS_EXPORT int XPRS_CC XPRSaddqmatrix64(XPRSprob prob, int row, XPRSint64 ncoefs,
                                         const int rowqcol1[], const int rowqcol2[],
                                         const double rowqcoef[]);
XPRS_EXPORT int XPRS_CC XPRSchgmqobj64(XPRSprob prob, XPRSint64 ncoefs, const int objqcol1[],
                                       const int objqcol2[], const double objqcoef[]);
XPRS_EXPORT int XPRS_CC XPRSnlpaddformulas(XPRSprob prob, int ncoefs, const int rowind[],
                                           const int formulastart[], int parsed, const int type[],
                                           const double value[]);
XPRS_EXPORT int XPRS_CC XPRSaddsets64(XPRSprob prob, int nsets, XPRSint64 nelems,
                                      const char settype[], const XPRSint64 start[],
                                      const int colind[], const double refval[]);
XPRS_EXPORT int XPRS_CC XPRSsetindicators(XPRSprob prob, int nrows, const int rowind[],
                                          const int colind[], const int complement[]);
XPRS_EXPORT int XPRS_CC XPRSaddnames(XPRSprob prob, int type, const char names[], int first,
                                     int last);
XPRS_EXPORT int XPRS_CC XPRSchgcoltype(XPRSprob prob, int ncols, const int colind[],
                                       const char coltype[]);
XPRS_EXPORT int XPRS_CC XPRSchgglblimit(XPRSprob prob, int ncols, const int colind[],
                                        const double limit[]);
XPRS_EXPORT int XPRS_CC XPRSchgobj(XPRSprob prob, int ncols, const int colind[],
                                   const double objcoef[]);
XPRS_EXPORT int XPRS_CC XPRSchgobjn(XPRSprob prob, int objidx, int ncols, const int colind[],
                                    const double objcoef[]);
XPRS_EXPORT int XPRS_CC XPRSaddobj(XPRSprob prob, int ncols, const int colind[],
                                   const double objcoef[], int priority, double weight);
XPRS_EXPORT int XPRS_CC XPRSchgobjsense(XPRSprob prob, int objsense);
XPRS_EXPORT int XPRS_CC XPRSchgbounds(XPRSprob prob, int nbounds, const int colind[],
                                      const char bndtype[], const double bndval[]);
XPRS_EXPORT int XPRS_CC XPRSgetrowtype(XPRSprob prob, char rowtype[], int first, int last);

/* Controls and attributes. */
XPRS_EXPORT int XPRS_CC XPRSgetintcontrol(XPRSprob prob, int control, int* p_value);
XPRS_EXPORT int XPRS_CC XPRSsetintcontrol(XPRSprob prob, int control, int value);
XPRS_EXPORT int XPRS_CC XPRSgetdblcontrol(XPRSprob prob, int control, double* p_value);
XPRS_EXPORT int XPRS_CC XPRSsetdblcontrol(XPRSprob prob, int control, double value);
XPRS_EXPORT int XPRS_CC XPRSgetstringcontrol(XPRSprob prob, int control, char* value, int maxbytes,
                                             int* p_nbytes);
XPRS_EXPORT int XPRS_CC XPRSgetstrcontrol(XPRSprob prob, int control, char* value);
XPRS_EXPORT int XPRS_CC XPRSsetstrcontrol(XPRSprob prob, int control, const char* value);
XPRS_EXPORT int XPRS_CC XPRSsetdefaultcontrol(XPRSprob prob, int control);
XPRS_EXPORT int XPRS_CC XPRSgetobjintcontrol(XPRSprob prob, int objidx, int control, int* p_value);
XPRS_EXPORT int XPRS_CC XPRSsetobjintcontrol(XPRSprob prob, int objidx, int control, int value);
XPRS_EXPORT int XPRS_CC XPRSgetobjdblcontrol(XPRSprob prob, int objidx, int control,
                                             double* p_value);
XPRS_EXPORT int XPRS_CC XPRSsetobjdblcontrol(XPRSprob prob, int objidx, int control, double value);
XPRS_EXPORT int XPRS_CC XPRSgetintattrib(XPRSprob prob, int attrib, int* p_value);
XPRS_EXPORT int XPRS_CC XPRSgetdblattrib(XPRSprob prob, int attrib, double* p_value);

/* Callbacks. A NULL function passed to an add function is refused; the remove functions take
 * NULL as a wildcard for the function and for the data. Callbacks run in priority order (higher
 * first) and receive, during an optimisation, a callback problem handle that is valid until the
 * run ends; XPRSinterrupt on it stops the run with the given reason. A check-time callback that
 * returns non-zero stops the run with XPRS_STOP_USER. Messages are single lines without line
 * feed; OUTPUTLOG 0 silences them, 2 and 3 keep warnings and errors, 4 errors only. */
XPRS_EXPORT int XPRS_CC XPRSaddcbmessage(XPRSprob prob, XPRSmessagecb cb, void* data, int priority);
XPRS_EXPORT int XPRS_CC XPRSremovecbmessage(XPRSprob prob, XPRSmessagecb cb, void* data);
XPRS_EXPORT int XPRS_CC XPRSaddcbchecktime(XPRSprob prob, XPRSchecktimecb cb, void* data,
                                           int priority);
XPRS_EXPORT int XPRS_CC XPRSremovecbchecktime(XPRSprob prob, XPRSchecktimecb cb, void* data);
XPRS_EXPORT int XPRS_CC XPRSaddcbintsol(XPRSprob prob, XPRSintsolcb cb, void* data, int priority);
XPRS_EXPORT int XPRS_CC XPRSremovecbintsol(XPRSprob prob, XPRSintsolcb cb, void* data);
XPRS_EXPORT int XPRS_CC XPRSaddcboptnode(XPRSprob prob, XPRSoptnodecb cb, void* data, int priority);
XPRS_EXPORT int XPRS_CC XPRSremovecboptnode(XPRSprob prob, XPRSoptnodecb cb, void* data);

/* Solving. XPRSoptimize accepts NULL for either status pointer. Flags: 'l' stops a MIP after
 * its relaxation; 'd', 'p', 'b' and 'n' choose the dual, primal, barrier or (as dual) network
 * algorithm for an LP; 's' and 'x' concern nonlinear models. XPRStune (no flags) optimises
 * under a few control settings within TUNERMAXTIME (else the time limit), keeps the best
 * settings and results, and writes its trials to <TUNEROUTPUTPATH>/<session>/tuneresult.txt.
 * XPRSfixmipentities makes the fixed MIP columns continuous with equal bounds, so that the next
 * optimisation of a model without sets is linear. */
XPRS_EXPORT int XPRS_CC XPRSoptimize(XPRSprob prob, const char* flags, int* solvestatus,
                                     int* solstatus);
XPRS_EXPORT int XPRS_CC XPRStune(XPRSprob prob, const char* flags);
XPRS_EXPORT int XPRS_CC XPRStunerwritemethod(XPRSprob prob, const char* methodfile);
XPRS_EXPORT int XPRS_CC XPRStunerreadmethod(XPRSprob prob, const char* methodfile);
XPRS_EXPORT int XPRS_CC XPRSinterrupt(XPRSprob prob, int reason);
XPRS_EXPORT int XPRS_CC XPRSfixmipentities(XPRSprob prob, int options);

/* Warm starts. */
XPRS_EXPORT int XPRS_CC XPRSloadbasis(XPRSprob prob, const int rowstat[], const int colstat[]);
XPRS_EXPORT int XPRS_CC XPRSaddmipsol(XPRSprob prob, int length, const double solval[],
                                      const int colind[], const char* name);
XPRS_EXPORT int XPRS_CC XPRSloaddirs(XPRSprob prob, int ndirs, const int colind[],
                                     const int priority[], const char dir[],
                                     const double uppseudo[], const double downpseudo[]);
XPRS_EXPORT int XPRS_CC XPRSnlpsetinitval(XPRSprob prob, int nvars, const int colind[],
                                          const double initial[]);
XPRS_EXPORT int XPRS_CC XPRSmsaddpreset(XPRSprob prob, const char* description, int preset,
                                        int maxjobs, void* data);

/* Results. */
XPRS_EXPORT int XPRS_CC XPRSgetsolution(XPRSprob prob, int* status, double x[], int first,
                                        int last);
XPRS_EXPORT int XPRS_CC XPRSgetslacks(XPRSprob prob, int* status, double slacks[], int first,
                                      int last);
XPRS_EXPORT int XPRS_CC XPRSgetduals(XPRSprob prob, int* status, double duals[], int first,
                                     int last);
XPRS_EXPORT int XPRS_CC XPRSgetredcosts(XPRSprob prob, int* status, double djs[], int first,
                                        int last);
XPRS_EXPORT int XPRS_CC XPRSgetbasis(XPRSprob prob, int rowstat[], int colstat[]);
XPRS_EXPORT int XPRS_CC XPRSgetbasisval(XPRSprob prob, int row, int col, int* p_rowstat,
                                        int* p_colstat);
XPRS_EXPORT int XPRS_CC XPRSgetscaledinfeas(XPRSprob prob, int* p_nprimalcols, int* p_nprimalrows,
                                            int* p_ndualrows, int* p_ndualcols, int x[],
                                            int slack[], int duals[], int djs[]);

/* Files. XPRSwriteprob writes MPS, with a QCMATRIX section (the full symmetric Q) per
 * quadratic row, or LP with the flag 'l' (no quadratic rows); the other three write readable
 * text files of this library's own format. */
XPRS_EXPORT int XPRS_CC XPRSwriteprob(XPRSprob prob, const char* filename, const char* flags);
XPRS_EXPORT int XPRS_CC XPRSwritebasis(XPRSprob prob, const char* filename, const char* flags);
XPRS_EXPORT int XPRS_CC XPRSwriteprtsol(XPRSprob prob, const char* filename, const char* flags);
XPRS_EXPORT int XPRS_CC XPRSsave(XPRSprob prob);

/* Solution pool. A pool stores solutions with ids from 1 (never reused), their column values,
 * objective value and origin problem. Every incumbent of a run of an attached problem is stored
 * (not during XPRS_mse_opt, which stores what its handler accepts). A problem is attached to at
 * most one pool; destroying either ends the attachment. Control 6203 (duplicate policy, default
 * 3): 0 keeps all, 1 drops exact copies, 2 compares integer columns rounded and continuous ones
 * within 1e-6, 3 compares integer columns only; of two duplicates the better one stays.
 * Attribute 6208 counts the stored solutions. XPRS_msp_getsollist: with a problem only the
 * solutions of its column count; rank attribute 0 ranks by id, 6500 by the objective value in
 * that problem (stored value without a problem); positions count from 1 and the last is cut to
 * the count; with ids and nReturnedSolIds NULL only nSols is filled. XPRS_msp_getsol and
 * XPRS_msp_delsol set the id status (0 active, -1 deleted, -2 never existed) and fail for ids
 * that are not active; XPRS_msp_getsol with x NULL only counts (last may exceed the columns).
 * Message handlers receive the pool, a NULL thread and code 0; their result is ignored. With a
 * NULL handle, XPRS_msp_getlasterror and XPRS_mse_getlasterror read the error of the last call
 * that had no object to keep it (a failed create, an unknown handle). */
XPRS_EXPORT int XPRS_CC XPRS_msp_create(XPRSmipsolpool* msp);
XPRS_EXPORT int XPRS_CC XPRS_msp_destroy(XPRSmipsolpool msp);
XPRS_EXPORT int XPRS_CC XPRS_msp_probattach(XPRSmipsolpool msp, XPRSprob prob);
XPRS_EXPORT int XPRS_CC XPRS_msp_probdetach(XPRSmipsolpool msp, XPRSprob prob);
XPRS_EXPORT int XPRS_CC XPRS_msp_getsollist(XPRSmipsolpool msp, XPRSprob prob_to_rank_against,
                                            int iRankAttrib, int bRankAscending,
                                            int iRankFirstIndex, int iRankLastIndex,
                                            int iSolutionIds[], int* nReturnedSolIds, int* nSols);
XPRS_EXPORT int XPRS_CC XPRS_msp_getsol(XPRSmipsolpool msp, int iSolutionId, int* iSolutionIdStatus,
                                        double x[], int iColFirst, int iColLast,
                                        int* nValuesReturned);
XPRS_EXPORT int XPRS_CC XPRS_msp_delsol(XPRSmipsolpool msp, int iSolutionId,
                                        int* iSolutionIdStatus);
XPRS_EXPORT int XPRS_CC XPRS_msp_setcbmsghandler(XPRSmipsolpool msp, XPRSobjmsghandler f, void* p);
XPRS_EXPORT int XPRS_CC XPRS_msp_getlasterror(XPRSmipsolpool msp, int* iMsgCode, char* msg,
                                              int iStringBufferBytes, int* iBytesInInternalString);
XPRS_EXPORT int XPRS_CC XPRS_msp_getintcontrol(XPRSmipsolpool msp, int iControlId, int* Val);
XPRS_EXPORT int XPRS_CC XPRS_msp_setintcontrol(XPRSmipsolpool msp, int iControlId, int Val);
XPRS_EXPORT int XPRS_CC XPRS_msp_getdblcontrol(XPRSmipsolpool msp, int iControlId, double* Val);
XPRS_EXPORT int XPRS_CC XPRS_msp_setdblcontrol(XPRSmipsolpool msp, int iControlId, double Val);
XPRS_EXPORT int XPRS_CC XPRS_msp_getintattrib(XPRSmipsolpool msp, int iAttribId, int* Val);
XPRS_EXPORT int XPRS_CC XPRS_msp_getdblattrib(XPRSmipsolpool msp, int iAttribId, double* Val);

/* Solution enumerator. XPRS_mse_opt finds the distinct assignments of the integer columns of a
 * MIP (each with its best continuous part) in order of objective, best first, by splitting the
 * region of every solution found into disjoint regions that exclude it and solving each to
 * optimality. It hands each solution to the handler (NULL: every solution is stored) with
 * *bRejectSoln and *bUpdateMipAbsCutOffOnCurrentSet at 0, stores it in msp unless rejected, and
 * on request lowers its cutoff to the worst objective of the set (ties are kept; the problem's
 * MIPABSCUTOFF, when set, is the first cutoff). It fires the problem's callbacks, honours
 * XPRSinterrupt, the time, node and solution limits, and leaves the problem's attributes and
 * solution as a MIP run does (the best solution found). A non-zero handler result ends the run
 * with an error. Models with sets, semi-continuous, semi-integer or partial integer columns,
 * quadratic or nonlinear parts, indicators or several objectives are refused.
 * The enumerator's set is the solutions of its last pool whose column count is its last
 * problem's: attribute 6600 counts them, and XPRS_mse_getcullchoice chooses among them, also
 * after the run: metric 6604 the solutions worse than dNewSolMetric, worst first (all of them,
 * worst first, when bRejectSoln is NULL), rejecting the new one when none is worse and
 * nMaxSolsToCull >= 1; metric 6605 the solutions closest to x in L1 distance. Never more than
 * nMaxSolsToCull ids. Controls 6601 to 6603 default to -1 and only serve handlers. */
XPRS_EXPORT int XPRS_CC XPRS_mse_create(XPRSmipsolenum* mse);
XPRS_EXPORT int XPRS_CC XPRS_mse_destroy(XPRSmipsolenum mse);
XPRS_EXPORT int XPRS_CC XPRS_mse_opt(XPRSmipsolenum mse, XPRSprob prob, XPRSmipsolpool msp,
                                     XPRSmsesolhandler f_mse_handler, void* p, int* nMaxSols);
XPRS_EXPORT int XPRS_CC XPRS_mse_getcullchoice(XPRSmipsolenum mse, int iMetricId,
                                               int cull_sol_id_list[], int nMaxSolsToCull,
                                               int* nSolsToCull, double dNewSolMetric,
                                               const double x[], int nCols, int* bRejectSoln);
XPRS_EXPORT int XPRS_CC XPRS_mse_setcbmsghandler(XPRSmipsolenum mse, XPRSobjmsghandler f, void* p);
XPRS_EXPORT int XPRS_CC XPRS_mse_getlasterror(XPRSmipsolenum mse, int* iMsgCode, char* msg,
                                              int iStringBufferBytes, int* iBytesInInternalString);
XPRS_EXPORT int XPRS_CC XPRS_mse_getintcontrol(XPRSmipsolenum mse, int iControlId, int* Val);
XPRS_EXPORT int XPRS_CC XPRS_mse_setintcontrol(XPRSmipsolenum mse, int iControlId, int Val);
XPRS_EXPORT int XPRS_CC XPRS_mse_getdblcontrol(XPRSmipsolenum mse, int iControlId, double* Val);
XPRS_EXPORT int XPRS_CC XPRS_mse_setdblcontrol(XPRSmipsolenum mse, int iControlId, double Val);
XPRS_EXPORT int XPRS_CC XPRS_mse_getintattrib(XPRSmipsolenum mse, int iAttribId, int* Val);
XPRS_EXPORT int XPRS_CC XPRS_mse_getdblattrib(XPRSmipsolenum mse, int iAttribId, double* Val);

#ifdef __cplusplus
}
#endif

#endif /* XPRS_H_ */
