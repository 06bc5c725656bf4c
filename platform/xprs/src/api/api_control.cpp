// Controls, objective controls and attributes.
#include <xprs.h>

#include <cstring>

#include "controls.hpp"
#include "library.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

void checkControl(int id, ControlType wanted) {
  const ControlType type = controlType(id);
  if (type == ControlType::None) fail("unknown control ", id);
  if (type != wanted && type != ControlType::Any) {
    fail("control ", id, " is ", typeName(type), " control, not ", typeName(wanted), " control");
  }
}

ObjectiveRecord& objective(Problem& p, int objidx) {
  ModelRecord& m = p.target().rec.model;
  if (objidx < 0 || objidx >= static_cast<int>(m.objectives.size())) {
    fail("invalid objective index ", objidx, " (the problem has ", m.objectives.size(),
         " objectives)");
  }
  return m.objectives[static_cast<std::size_t>(objidx)];
}

void checkObjControl(int id, ControlType wanted) {
  const ControlType type = objControlType(id);
  if (type == ControlType::None) fail("unknown objective control ", id);
  if (type != wanted) {
    fail("objective control ", id, " is ", typeName(type), " control, not ", typeName(wanted),
         " control");
  }
}

void checkAttrib(int id, AttribType wanted) {
  const AttribType type = attribType(id);
  if (type == AttribType::None) fail("unknown attribute ", id);
  if (type != wanted) {
    fail("attribute ", id, " is ", type == AttribType::Int ? "an integer" : "a double",
         " attribute, not ", wanted == AttribType::Int ? "an integer" : "a double", " attribute");
  }
}

}  // namespace

extern "C" {

int XPRS_CC XPRSgetintcontrol(XPRSprob prob, int control, int* p_value) {
  return callProblem("XPRSgetintcontrol", prob, Digest()("control", control), [&](Problem& p) {
    checkControl(control, ControlType::Int);
    checkPointer(p_value, "p_value");
    *p_value = intControl(p.target().rec, control);
    return 0;
  });
}

int XPRS_CC XPRSsetintcontrol(XPRSprob prob, int control, int value) {
  return callProblem("XPRSsetintcontrol", prob, Digest()("control", control)("value", value),
                     [&](Problem& p) {
                       checkControl(control, ControlType::Int);
                       p.target().rec.intControls[control] = value;
                       return 0;
                     });
}

int XPRS_CC XPRSgetdblcontrol(XPRSprob prob, int control, double* p_value) {
  return callProblem("XPRSgetdblcontrol", prob, Digest()("control", control), [&](Problem& p) {
    checkControl(control, ControlType::Dbl);
    checkPointer(p_value, "p_value");
    *p_value = dblControl(p.target().rec, control);
    return 0;
  });
}

int XPRS_CC XPRSsetdblcontrol(XPRSprob prob, int control, double value) {
  return callProblem("XPRSsetdblcontrol", prob, Digest()("control", control)("value", value),
                     [&](Problem& p) {
                       checkControl(control, ControlType::Dbl);
                       checkValue(value, "value", 0);
                       p.target().rec.dblControls[control] = value;
                       return 0;
                     });
}

int XPRS_CC XPRSgetstringcontrol(XPRSprob prob, int control, char* value, int maxbytes,
                                 int* p_nbytes) {
  Digest d;
  d("control", control)("value", value)("maxbytes", maxbytes);
  return callProblem("XPRSgetstringcontrol", prob, d, [&](Problem& p) {
    checkControl(control, ControlType::Str);
    checkCount("maxbytes", maxbytes);
    const std::string text = strControl(p.target().rec, control);
    if (p_nbytes) *p_nbytes = static_cast<int>(text.size()) + 1;
    if (value != nullptr && maxbytes > 0) {
      const std::size_t n = std::min(text.size(), static_cast<std::size_t>(maxbytes - 1));
      std::memcpy(value, text.data(), n);
      value[n] = '\0';
    } else if (p_nbytes == nullptr) {
      fail("value and p_nbytes are both NULL");
    }
    return 0;
  });
}

int XPRS_CC XPRSgetstrcontrol(XPRSprob prob, int control, char* value) {
  return callProblem("XPRSgetstrcontrol", prob, Digest()("control", control), [&](Problem& p) {
    checkControl(control, ControlType::Str);
    checkPointer(value, "value");
    const std::string text = strControl(p.target().rec, control);
    std::memcpy(value, text.c_str(), text.size() + 1);
    return 0;
  });
}

int XPRS_CC XPRSsetstrcontrol(XPRSprob prob, int control, const char* value) {
  return callProblem("XPRSsetstrcontrol", prob, Digest()("control", control).string("value", value),
                     [&](Problem& p) {
                       checkControl(control, ControlType::Str);
                       checkPointer(value, "value");
                       p.target().rec.strControls[control] = value;
                       return 0;
                     });
}

int XPRS_CC XPRSsetdefaultcontrol(XPRSprob prob, int control) {
  return callProblem("XPRSsetdefaultcontrol", prob, Digest()("control", control), [&](Problem& p) {
    if (controlType(control) == ControlType::None) fail("unknown control ", control);
    ProblemRecord& rec = p.target().rec;
    rec.intControls.erase(control);
    rec.dblControls.erase(control);
    rec.strControls.erase(control);
    return 0;
  });
}

int XPRS_CC XPRSgetobjintcontrol(XPRSprob prob, int objidx, int control, int* p_value) {
  return callProblem("XPRSgetobjintcontrol", prob, Digest()("objidx", objidx)("control", control),
                     [&](Problem& p) {
                       const ObjectiveRecord& obj = objective(p, objidx);
                       checkObjControl(control, ControlType::Int);
                       checkPointer(p_value, "p_value");
                       *p_value = objIntControl(obj, control);
                       return 0;
                     });
}

int XPRS_CC XPRSsetobjintcontrol(XPRSprob prob, int objidx, int control, int value) {
  return callProblem("XPRSsetobjintcontrol", prob,
                     Digest()("objidx", objidx)("control", control)("value", value),
                     [&](Problem& p) {
                       ObjectiveRecord& obj = objective(p, objidx);
                       checkObjControl(control, ControlType::Int);
                       obj.intControls[control] = value;
                       return 0;
                     });
}

int XPRS_CC XPRSgetobjdblcontrol(XPRSprob prob, int objidx, int control, double* p_value) {
  return callProblem("XPRSgetobjdblcontrol", prob, Digest()("objidx", objidx)("control", control),
                     [&](Problem& p) {
                       const ObjectiveRecord& obj = objective(p, objidx);
                       checkObjControl(control, ControlType::Dbl);
                       checkPointer(p_value, "p_value");
                       *p_value = objDblControl(obj, control);
                       return 0;
                     });
}

int XPRS_CC XPRSsetobjdblcontrol(XPRSprob prob, int objidx, int control, double value) {
  return callProblem("XPRSsetobjdblcontrol", prob,
                     Digest()("objidx", objidx)("control", control)("value", value),
                     [&](Problem& p) {
                       ObjectiveRecord& obj = objective(p, objidx);
                       checkObjControl(control, ControlType::Dbl);
                       // The constant and the weight enter the objective as coefficients do.
                       if (control == XPRS_OBJECTIVE_RHS || control == XPRS_OBJECTIVE_WEIGHT) {
                         checkCoefficient(value, "value", 0);
                       } else {
                         checkValue(value, "value", 0);
                       }
                       if (control == XPRS_OBJECTIVE_RHS) {
                         obj.rhs = value;
                       } else {
                         obj.dblControls[control] = value;
                       }
                       return 0;
                     });
}

int XPRS_CC XPRSgetintattrib(XPRSprob prob, int attrib, int* p_value) {
  return callProblem("XPRSgetintattrib", prob, Digest()("attrib", attrib), [&](Problem& p) {
    checkAttrib(attrib, AttribType::Int);
    checkPointer(p_value, "p_value");
    *p_value = intAttrib(p, attrib);
    return 0;
  });
}

int XPRS_CC XPRSgetdblattrib(XPRSprob prob, int attrib, double* p_value) {
  return callProblem("XPRSgetdblattrib", prob, Digest()("attrib", attrib), [&](Problem& p) {
    checkAttrib(attrib, AttribType::Dbl);
    checkPointer(p_value, "p_value");
    *p_value = dblAttrib(p, attrib);
    return 0;
  });
}

}  // extern "C"
