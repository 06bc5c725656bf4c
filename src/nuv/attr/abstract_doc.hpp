// `nuv::attr::AbstractDoc`: the documentation object an option description may carry.
//
// The framework only moves documentation objects around and deletes them through their virtual
// destructor; what they hold is up to the code that creates them (and the YAML registry agent that
// writes and reads them).
#ifndef NUV_ATTR_ABSTRACT_DOC_HPP_
#define NUV_ATTR_ABSTRACT_DOC_HPP_

namespace nuv::attr {

class AbstractDoc {
 public:
  virtual ~AbstractDoc() = default;

 protected:
  AbstractDoc() = default;
  AbstractDoc(const AbstractDoc&) = default;
  AbstractDoc& operator=(const AbstractDoc&) = default;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_ABSTRACT_DOC_HPP_
