#include "regex/regex_object.h"

#include "regex/automation_win.h"
#include "regex/match_position.h"
#include "text/extract.h"

namespace shortlink {

struct RegexObject::State {
  ScopedCom com;  // declared first so that it is undone last, after both references are released
  DispatchRef component;
  DispatchRef matches;  // the collection "Execute" gave for `subject`
  Text subject;

  // The match numbered from 1; empty when there is none.
  DispatchRef MatchAt(int index) const { return ReadPropertyObject(matches, L"Item", index - 1.0); }

  // Returns the 0-based byte offset of `found`, the text of `match` or of one of its groups,
  // searched for from the match's character index on; -1 when it is not there (bytes the
  // conversions did not keep).
  int BytePosition(const DispatchRef& match, std::string_view found) const {
    const int charIndex = TruncateToInteger(ReadPropertyNumber(match, L"FirstIndex"));
    const bool ignoreCase = ReadPropertyNumber(component, L"IgnoreCase") != 0;
    return MatchBytePosition(subject, found, charIndex, ignoreCase);
  }
};

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(RegexObject&&) noexcept = default;
RegexObject& RegexObject::operator=(RegexObject&&) noexcept = default;

bool RegexObject::Create(std::string_view pattern, std::string_view subject,
                         RegexOptions options) {
  if (!state_) state_ = std::make_unique<State>();
  State& s = *state_;
  s.matches.Reset();
  CreateByProgId(&s.component, L"VBScript.RegExp");
  WriteProperty(s.component, L"IgnoreCase", !options.caseSensitive);
  WriteProperty(s.component, L"Multiline", options.multiline);
  WriteProperty(s.component, L"Global", options.global);
  WriteProperty(s.component, L"Pattern",
                options.quotePlaceholder ? ReplaceAll(pattern, kQuotePlaceholder, "\"")
                                         : Text(pattern));
  // Fails when the component rejects the pattern; the matches stay empty then.
  s.matches = CallMethodObject(s.component, L"Execute", {subject});
  s.subject.assign(subject);
  return !s.matches.IsEmpty();
}

Text RegexObject::GetPattern() const {
  if (!state_) return Text();
  return ReadPropertyText(state_->component, L"Pattern");
}

Text RegexObject::Replace(std::string_view replacement) const {
  if (!state_) return Text();
  return CallMethodText(state_->component, L"Replace", {state_->subject, replacement});
}

int RegexObject::MatchCount() const {
  if (!state_) return 0;
  return TruncateToInteger(ReadPropertyNumber(state_->matches, L"Count"));
}

Text RegexObject::MatchText(int index, int* position) const {
  if (position) *position = -1;
  if (!state_) return Text();
  const DispatchRef match = state_->MatchAt(index);
  Text text = ReadPropertyText(match, L"Value");
  if (position && !match.IsEmpty()) *position = state_->BytePosition(match, text);
  return text;
}

Text RegexObject::SubMatchText(int matchIndex, int groupIndex, int* position) const {
  if (position) *position = -1;
  if (!state_) return Text();
  const DispatchRef match = state_->MatchAt(matchIndex);
  const DispatchRef groups = ReadPropertyObject(match, L"SubMatches");
  // A group that did not take part comes back as an empty value, not as an empty string.
  const ScopedVariant value = ReadPropertyValue(groups, L"Item", groupIndex - 1.0);
  Text text = VariantToText(value.Get());
  if (position && !value.IsEmpty()) *position = state_->BytePosition(match, text);
  return text;
}

int RegexObject::SubMatchCount() const {
  if (!state_) return 0;
  const DispatchRef groups = ReadPropertyObject(state_->MatchAt(1), L"SubMatches");
  return TruncateToInteger(ReadPropertyNumber(groups, L"Count"));
}

}  // namespace shortlink
