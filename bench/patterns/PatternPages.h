#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Deterministic pages for the seven zone patterns, in UTF-8 as the sites serve them. The
// pattern bench writes them to files so the anchor in Node runs over the very same bytes.
namespace lumetra::bench {

enum class PageKind {
    Lines,     // the site's layout, one listing or message per line
    OneLine,   // the same content with every line break a space
    NearMiss,  // one line of fragments that almost match and never do
};

struct PatternCase {
    const char* name;     // "L1" ... "M4"
    const char* pattern;  // GBK, as the zone table holds it
    bool quoteSubstitution;
};

const std::vector<PatternCase>& PatternCases();

struct PageCase {
    const PatternCase* pattern;
    PageKind kind;
    std::size_t size;        // target size in bytes; the page is at least as long
    std::string Id() const;  // "M3-lines-102400", also the page's file stem
};

// Realistic pages at 10 KB, 100 KB, 1 MB; one-line and near-miss pages at 1 KB to 1 MB.
std::vector<PageCase> PageCases();

std::string PageUtf8(const PageCase& page);

// Site A's message page for one number with `messages` messages (the random zone's view).
std::string RandomMessagePage(std::size_t messages);
// Site A's listing page with about `bytes` bytes of entries (the random zone's number list).
std::string RandomListingPage(std::size_t bytes);

// The pattern as the anchor gets it: UTF-8, the quote placeholder already replaced.
std::string PatternUtf8(const PatternCase& pattern);
std::string GbkToUtf8(const std::string& gbk);

}  // namespace lumetra::bench
