#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The pages of a PDF file's bytes: its "/Type /Page" objects, the page
// tree's "/Type /Pages" left out.
inline int PdfPageCount(std::string_view pdf)
{
    constexpr std::string_view kPage = "/Type /Page";
    int pages = 0;
    for (std::size_t at = pdf.find(kPage); at != std::string_view::npos; at = pdf.find(kPage, at + kPage.size())) {
        const std::size_t next = at + kPage.size();
        pages += next >= pdf.size() || pdf[next] != 's';
    }
    return pages;
}
