#include "sim/condmgr/registrations.h"

#include <algorithm>
#include <charconv>

#include "sim/support/line_files.h"

namespace korvet::hotsync {
namespace {

struct TextField {
  const char* key;
  std::string ConduitRegistration::*member;
};
struct NumberField {
  const char* key;
  std::int32_t ConduitRegistration::*member;
};

// The order in which the keys are written.
constexpr NumberField kTypeField{"Type", &ConduitRegistration::type};
constexpr TextField kTextFields[] = {
    {"Library", &ConduitRegistration::library}, {"Directory", &ConduitRegistration::directory},
    {"File", &ConduitRegistration::file},       {"Remote", &ConduitRegistration::remote},
    {"Title", &ConduitRegistration::title},
};
constexpr NumberField kPriorityField{"Priority", &ConduitRegistration::priority};
constexpr TextField kInfoField{"Info", &ConduitRegistration::info};

bool ParseNumber(std::string_view text, std::int32_t* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [at, failure] = std::from_chars(text.data(), end, *value);
  return failure == std::errc() && at == end;
}

// One line of the file into the list: a section header starts a registration, a key sets its value.
bool ParseLine(std::string_view line, Registrations* registrations, std::string* why) {
  auto fail = [&](const std::string& reason) {
    *why = reason;
    return false;
  };
  if (line.front() == '[') {
    if (line.size() != 6 || line.back() != ']' || !IsValidCreator(line.substr(1, 4))) return fail("bad section header");
    std::string creator(line.substr(1, 4));
    if (FindRegistration(*registrations, creator)) return fail("creator " + creator + " registered twice");
    registrations->push_back(ConduitRegistration{.creator = creator});
    return true;
  }
  if (registrations->empty()) return fail("value outside a section");
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return fail("no '='");
  std::string_view key = line.substr(0, equals);
  std::string_view value = line.substr(equals + 1);
  ConduitRegistration& conduit = registrations->back();
  bool known = false;
  for (const NumberField* field : {&kTypeField, &kPriorityField}) {
    if (key == field->key) {
      if (!ParseNumber(value, &(conduit.*field->member))) return fail("bad number for " + std::string(key));
      known = true;
    }
  }
  for (const TextField& field : kTextFields) {
    if (key == field.key) {
      conduit.*field.member = std::string(value);
      known = true;
    }
  }
  if (key == kInfoField.key) {
    conduit.*kInfoField.member = std::string(value);
    known = true;
  }
  return known || fail("unknown key " + std::string(key));
}

}  // namespace

bool IsValidCreator(std::string_view creator) {
  return creator.size() == 4 &&
         std::all_of(creator.begin(), creator.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool IsValidValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string SerializeRegistrations(const Registrations& registrations) {
  std::string text = "; Conduits registered with the stand-in HotSync Manager.\r\n";
  for (const ConduitRegistration& conduit : registrations) {
    text += "[" + conduit.creator + "]\r\n";
    text += std::string(kTypeField.key) + "=" + std::to_string(conduit.*kTypeField.member) + "\r\n";
    for (const TextField& field : kTextFields) text += std::string(field.key) + "=" + conduit.*field.member + "\r\n";
    text += std::string(kPriorityField.key) + "=" + std::to_string(conduit.*kPriorityField.member) + "\r\n";
    text += std::string(kInfoField.key) + "=" + conduit.*kInfoField.member + "\r\n";
  }
  return text;
}

std::optional<Registrations> ParseRegistrations(std::string_view text, std::string* error) {
  Registrations registrations;
  auto parseLine = [&](std::string_view line, std::string* why) { return ParseLine(line, &registrations, why); };
  if (!sim::ParseLines(text, parseLine, error)) return std::nullopt;
  return registrations;
}

std::optional<Registrations> LoadRegistrations(const std::string& folder, std::string* error) {
  return sim::LoadLineFile(JoinPath(folder, kRegistrationFileName), ParseRegistrations, error);
}

bool SaveRegistrations(const std::string& folder, const Registrations& registrations, std::string* error) {
  return sim::WriteFileAtomically(JoinPath(folder, kRegistrationFileName), SerializeRegistrations(registrations),
                                  error);
}

ConduitRegistration* FindRegistration(Registrations& registrations, std::string_view creator) {
  auto found = std::find_if(registrations.begin(), registrations.end(),
                            [&](const ConduitRegistration& conduit) { return conduit.creator == creator; });
  return found == registrations.end() ? nullptr : &*found;
}

const ConduitRegistration* FindRegistration(const Registrations& registrations, std::string_view creator) {
  return FindRegistration(const_cast<Registrations&>(registrations), creator);
}

Registrations InPriorityOrder(Registrations registrations) {
  std::stable_sort(registrations.begin(), registrations.end(),
                   [](const ConduitRegistration& a, const ConduitRegistration& b) { return a.priority < b.priority; });
  return registrations;
}

}  // namespace korvet::hotsync
