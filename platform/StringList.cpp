#include "platform/StringList.h"

UString TStringList::Values(std::u16string_view name) const {
  for (const UString& l : lines_) {
    auto eq = l.find(u'=');
    if (eq != UString::npos && SameTextAscii(std::u16string_view(l).substr(0, eq), name))
      return l.substr(eq + 1);
  }
  return UString();
}

void TStringList::SetValue(std::u16string_view name, const UString& value) {
  for (UString& l : lines_) {
    auto eq = l.find(u'=');
    if (eq != UString::npos && SameTextAscii(std::u16string_view(l).substr(0, eq), name)) {
      l = l.substr(0, eq + 1) + value;
      return;
    }
  }
  lines_.push_back(UString(name) + u"=" + value);
}
