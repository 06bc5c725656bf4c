#include "settings.hpp"

#include <string_view>

#include "link_error.hpp"
#include "text.hpp"

namespace orla::detail {
namespace {

using Attrib = LinkDef::PluginAttrib;
using Plugin = LinkDef::Plugin;

// The feature a setting belongs to; settings outside these ranges mean nothing to this link.
std::optional<Plugin> featureOf(int attrib) {
  if (attrib == 1 || attrib == 2) return Plugin::kMipCleanup;
  if (attrib >= 4 && attrib <= 6) return Plugin::kObjectives;
  if (attrib >= 17 && attrib <= 20) return Plugin::kTrace;
  if (attrib >= 21 && attrib <= 25) return Plugin::kStopExpression;
  return std::nullopt;
}

[[noreturn]] void refuse(const vopRec::Option& option, std::string_view expected) {
  throw LinkError("option '" + option.name + "' takes " + std::string(expected) + ", not '" +
                  option.value + "'");
}

bool flag(const vopRec::Option& option) {
  const auto value = parseInt(option.value);
  if (!value || (*value != 0 && *value != 1)) refuse(option, "0 or 1");
  return *value == 1;
}

double nonNegative(const vopRec::Option& option) {
  const auto value = parseDouble(option.value);
  if (!value || *value < 0) refuse(option, "a number of at least 0");
  return *value;
}

void apply(Attrib attrib, const vopRec::Option& option, Settings& settings) {
  switch (attrib) {
    case Attrib::kMipCleanup:
      settings.mipCleanup = flag(option);
      return;
    case Attrib::kFixOptFile:
      settings.fixOptFile = option.value;
      return;
    case Attrib::kMultipleObjectives:
      settings.allObjectives = flag(option);
      return;
    case Attrib::kObjectiveAbsTol:
      settings.objectiveAbsTol = nonNegative(option);
      return;
    case Attrib::kObjectiveRelTol:
      settings.objectiveRelTol = nonNegative(option);
      return;
    case Attrib::kTraceFile:
      settings.traceFile = option.value;
      return;
    case Attrib::kTraceNodeStep: {
      const auto value = parseInt(option.value);
      if (!value || *value < 0) refuse(option, "a whole number of at least 0");
      settings.traceNodeStep = *value;
      return;
    }
    case Attrib::kTraceTimeStep:
      settings.traceTimeStep = nonNegative(option);
      return;
    case Attrib::kTraceIncumbent:
      settings.traceIncumbent = flag(option);
      return;
    default:
      throw LinkError("option '" + option.name +
                      "' is not supported: this host link does not evaluate stop expressions");
  }
}

}  // namespace

Settings takeLinkOptions(const LinkDef& definition, const std::vector<vopRec::Option>& options,
                         std::vector<vopRec::Option>* solverOptions) {
  Settings settings;
  for (const vopRec::Option& option : options) {
    const std::string lower = lowerCased(option.name);
    std::optional<Attrib> match;
    for (int number = 0; number < LinkDef::kAttribCount && !match; ++number) {
      const auto attrib = static_cast<Attrib>(number);
      const auto feature = featureOf(number);
      const std::string& name = definition.name(attrib);
      if (feature && definition.enabled(*feature) && !name.empty() && lowerCased(name) == lower) {
        match = attrib;
      }
    }
    if (match) {
      apply(*match, option, settings);
    } else {
      solverOptions->push_back(option);
    }
  }
  return settings;
}

}  // namespace orla::detail
