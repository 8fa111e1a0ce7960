#include "http/cookies.h"

#include "text/text.h"

namespace shortlink {
namespace {

constexpr std::string_view kDeletedMark = "=deleted";
constexpr std::string_view kJoint = "; ";

}  // namespace

Text MergeCookies(Text* cookies, Text* receivedCookies) {
  *cookies = RemoveSpaces(*cookies);
  *receivedCookies = RemoveSpaces(*receivedCookies);

  // Received entries come first, so an old entry survives only under a name not yet taken; that
  // also keeps just the first of two old entries with one name.
  TextList merged = Split(*receivedCookies, ";");
  for (const Text& entry : Split(*cookies, ";")) {
    if (!HasCookieNamed(merged, CookieName(entry))) AppendMember(merged, entry);
  }

  // A deletion mark has done its work once it has shadowed the old entry of its name.
  Text joined;
  bool first = true;
  for (const Text& entry : merged) {
    if (Right(entry, TextLength(kDeletedMark)) == kDeletedMark) continue;
    if (!first) joined += kJoint;
    joined += entry;
    first = false;
  }
  *cookies = RemoveDuplicates(joined, kJoint);
  return *cookies;
}

Text CookieName(std::string_view entry) {
  const int equals = Find(entry, "=");
  return TrimSpaces(equals == -1 ? entry : entry.substr(0, equals - 1));
}

bool HasCookieNamed(const TextList& entries, std::string_view name) {
  for (const Text& entry : entries) {
    if (CookieName(entry) == name) return true;
  }
  return false;
}

Text RemoveDuplicates(std::string_view text, std::string_view separator) {
  TextList kept;
  Text result;
  for (const Text& item : Split(text, separator)) {
    if (IndexOfItem(kept, item) != -1) continue;
    if (MemberCount(kept) > 0) result += separator;
    result += item;
    AppendMember(kept, item);
  }
  return result;
}

int IndexOfItem(const TextList& list, std::string_view item) {
  for (int i = 1; i <= MemberCount(list); ++i) {
    if (Member(list, i) == item) return i;
  }
  return -1;
}

}  // namespace shortlink
