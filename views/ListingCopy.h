#pragma once

#include <string>

namespace survey {
class CKestrixDoc;
struct ListingText;
} // namespace survey

// Rows `first` to `last` of `listing` (built from `doc`) as tab-separated
// text for the clipboard: the heading names on the first line, then one line
// per row with its numbers as the listing prints them, without the padding.
// Every line ends in "\n".
std::string ListingRowsAsTabText(const survey::CKestrixDoc& doc, const survey::ListingText& listing, int first,
                                 int last);
