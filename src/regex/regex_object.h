// Regular expressions for the tool's GBK texts, run by the platform's "VBScript.RegExp"
// component (Windows only). Matches are numbered from 1 and positions are 0-based byte offsets in
// the subject, whatever the system's ANSI code page is. Every operation is silent: a missing
// component, a rejected pattern or an index out of range gives false, the empty Text or 0.
//
//   RegexObject regex;
//   regex.Create("[a-zA-z]+://[^\\s]*", "see http://t.cn/x now");
//   int position = 0;
//   regex.MatchText(1, &position) == "http://t.cn/x"   // position == 4
#pragma once

#include <memory>
#include <string_view>

#include "text/text.h"

namespace shortlink {

struct RegexOptions {
  bool caseSensitive = false;     // false: letters match in either case
  bool multiline = true;          // ^ and $ also match at line breaks
  bool global = true;             // every match, not only the first; Replace replaces them all
  bool quotePlaceholder = false;  // each "#引号" in the pattern stands for one double quote
};

// One pattern run over one subject at a time. Each instance initialises COM on its thread for its
// lifetime (several may live at once on one thread), so it is made, used and destroyed on one
// thread. Not copyable: a copy could not keep the COM initialisations balanced. A moved-from
// instance answers every query with its empty result until its next Create.
class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;
  RegexObject(RegexObject&&) noexcept;
  RegexObject& operator=(RegexObject&&) noexcept;

  // Runs `pattern` over `subject`, replacing everything the previous Create left. Returns true
  // when matching ran, even with no match; false when the component is missing or rejects the
  // pattern. Every query below reports on the most recent Create.
  // Hazard: Wine's component never returns from a global run of a pattern that matches the empty
  // text (such as "x*"); give such patterns a required character or run them with global false.
  bool Create(std::string_view pattern, std::string_view subject, RegexOptions options = {});

  // Returns the pattern in effect (placeholders replaced); empty before any Create.
  [[nodiscard]] Text GetPattern() const;
  // Returns the subject with the matches (all of them, or the first when not global) replaced by
  // `replacement`, in which $1 ... stand for groups; empty with no pattern in effect.
  [[nodiscard]] Text Replace(std::string_view replacement = {}) const;
  // Returns the number of matches; 0 with none or no matching run.
  [[nodiscard]] int MatchCount() const;
  // Returns the text of match `index` (from 1), empty when there is no such match. When
  // `position` is given it receives the match's 0-based byte offset, -1 when there is no such match.
  // The offset is found by searching the subject for the match text from the match's character
  // index on, so after two-byte characters it can name an earlier occurrence of the same text; an
  // empty match text is found where that search begins.
  [[nodiscard]] Text MatchText(int index, int* position = nullptr) const;
  // Returns the text of capture group `groupIndex` (from 1) of match `matchIndex` (from 1), empty
  // for a group that did not take part. `position` as for MatchText, searched from the match's
  // character index; -1 when there is no such group or it did not take part.
  [[nodiscard]] Text SubMatchText(int matchIndex, int groupIndex, int* position = nullptr) const;
  // Returns the number of capture groups of the first match; 0 when nothing matched.
  [[nodiscard]] int SubMatchCount() const;

 private:
  struct State;  // the COM initialisation, the component and its matches, the saved subject
  std::unique_ptr<State> state_;
};

}  // namespace shortlink
