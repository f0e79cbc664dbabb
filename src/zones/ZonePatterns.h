#pragma once

// The seven patterns of the zone table, as GBK text. Non-ASCII bytes are written as escapes
// (the readable form is in the comment); tests/zones checks each against its UTF-8 form.
namespace lumetra::patterns {

// Listing patterns: submatch 1 is the calling code with its plus sign, 2 the number.
inline constexpr char L1[] = R"((\+[\d]{1,3}).*>([\d]{8,11}))";
inline constexpr char L2[] = R"(>(\+86).*([\d]{11})<)";
inline constexpr char L3[] = R"(<span>(\+\d).*([\d]{10})</span>)";

// Random zone, message pattern 1: four tabs and four spaces before "(.*?)" and before "<span".
inline constexpr char M1[] = "\t\t\t\t    (.*?)\t\t\t\t    "
                             R"(<span style="float: right;">[\d]{2}.*</span>)";

// Random zone, message pattern 2: (【.*】).*<b>(.*?)</b>
inline constexpr char M2[] = "(\xA1\xBE.*\xA1\xBF" R"().*<b>(.*?)</b>)";

// China zone: "#引号" (GBK 23 D2 FD BA C5) stands for a double quote.
inline constexpr char M3[] = "<div class=#\xD2\xFD\xBA\xC5" "col-md-6 msg#\xD2\xFD\xBA\xC5"
                             R"(>(.*)<.*?><b>(.*)</b></span>.*?</div>\s+<div class=)"
                             "#\xD2\xFD\xBA\xC5" "col-md-3 time#\xD2\xFD\xBA\xC5" R"(>(.*)</div>)";

// US zone.
inline constexpr char M4[] = R"(\s+<div class=)" "#\xD2\xFD\xBA\xC5" "col-md-3 sender#\xD2\xFD\xBA\xC5"
                             R"(>(.*)</div>\s+<div class=)" "#\xD2\xFD\xBA\xC5" "col-md-6 msg#\xD2\xFD\xBA\xC5"
                             R"(>.*<b>(.*)</b>.*</div>\s+<div class=)" "#\xD2\xFD\xBA\xC5"
                             "col-md-3 time#\xD2\xFD\xBA\xC5" R"(>(.*)</div>)";

}  // namespace lumetra::patterns
