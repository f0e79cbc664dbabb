#include "web/UrlParts.h"

#include "text/TextOps.h"
#include "text/TextSlicing.h"

namespace lumetra {

namespace {

Text AfterPosition(const Text& text, Position position) {
    return Right(text, static_cast<Position>(text.size()) - position);
}

Text HostByScheme(Text u, bool mainDomain) {
    if (!EndsWith(u, "/")) u += "/";
    Text host;
    if (StartsWith(u, "https://")) {
        host = TextBetween(u, "https://", "/");
    } else {
        if (!Contains(u, "http://")) u = "http://" + u;
        host = TextBetween(u, "http://", "/");
    }
    if (mainDomain) {
        std::vector<Text> pieces = Split(host, ".");
        if (pieces.size() > 1) host = pieces[pieces.size() - 2] + "." + pieces.back();
    }
    return host;
}

Text HostByLevels(Text u, bool mainDomain, int levels) {
    u = Replace(Replace(u, "http://", ""), "https://", "");
    Position slash = Find(u, "/");
    if (slash != kNotFound) u = Left(u, slash - 1);
    // FindBackwards(u, ".", m) is the last "." standing before position m.
    Position m = static_cast<Position>(u.size());
    for (int i = 0; i < levels && m != kNotFound; ++i) m = FindBackwards(u, ".", m);
    Position o = m == kNotFound ? kNotFound : FindBackwards(u, ".", m);
    if (mainDomain) return o == kNotFound ? u : AfterPosition(u, o);
    if (o != kNotFound) {
        Position o2 = FindBackwards(u, ".", o);
        if (o2 != kNotFound) return AfterPosition(u, o2);
    }
    return u;
}

}  // namespace

Text UrlHost(const Text& url, std::optional<bool> mainDomain, std::optional<bool> keepPort,
             std::optional<int> levels) {
    Text u = ToLower(url);
    Text host = levels ? HostByLevels(u, mainDomain.value_or(false), *levels)
                       : HostByScheme(u, mainDomain.value_or(false));
    Position colon = Find(host, ":");
    if (!keepPort.value_or(false) && colon != kNotFound) host = Left(host, colon - 1);
    return host;
}

int UrlPort(const Text& url) {
    Text host = UrlHost(url, {}, true);
    Position colon = FindBackwards(host, ":");
    if (colon != kNotFound) return TextToInteger(AfterPosition(host, colon));
    return ToLower(Left(url, 5)) == "https" ? 443 : 80;
}

Text UrlPath(const Text& url) {
    Position a = Find(url, UrlHost(url), 1, true);
    Position b = Find(url, "/", a == kNotFound ? 1 : a);
    return b == kNotFound ? Text("/") : AfterPosition(url, b - 1);
}

}  // namespace lumetra
