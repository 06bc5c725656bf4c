// `qel::XpressLibrary`: one initialisation of the Xpress library, held for as long as the object
// lives.
//
// Xpress counts its initialisations: every XPRSinit must be matched by one XPRSfree, and no
// problem, pool or enumerator may be created before the first. An object of this class is that
// pairing: the constructor initialises, the destructor releases. Whoever owns one must destroy
// every problem, pool and enumerator it created before it destroys the library object.
//
//   auto library = std::make_unique<qel::XpressLibrary>();   // XPRSinit(NULL)
//   auto prob = std::make_shared<qel::XpressProb>();
//   prob->start();
//   prob.reset();
//   library.reset();                                          // XPRSfree
#ifndef QEL_XPRESS_XPRESS_LIBRARY_HPP_
#define QEL_XPRESS_XPRESS_LIBRARY_HPP_

namespace qel {

class XpressLibrary final {
 public:
  // XPRSinit with a null path. On failure raises qel::XpressException with the error text the
  // library gives for its failed initialisation (XPRSgetlicerrmsg, read into a 512-byte buffer),
  // the return code and the trace "XPRSinit"; nothing is then held.
  XpressLibrary();
  XpressLibrary(const XpressLibrary&) = delete;
  XpressLibrary& operator=(const XpressLibrary&) = delete;
  // XPRSfree; its return code is not examined (nothing could be done about it here).
  ~XpressLibrary();
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_LIBRARY_HPP_
