#pragma once

#include <cstdint>

// The Windows Internet calls HttpAccess makes, with their Windows names and constants,
// performed by libcurl. A handle is closed with InternetCloseHandle whatever its kind; a
// child handle keeps working when its parent is closed first.
namespace lumetra::platform {

struct InternetObject;
using HINTERNET = InternetObject*;
using DWORD = std::uint32_t;
using INTERNET_PORT = std::uint16_t;
using DWORD_PTR = std::uintptr_t;

// InternetOpenA access types.
inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY =
    3;  // proxy list: "host:port", "http=host:port", ...

// InternetConnectA service.
inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;

// HttpOpenRequestA flags.
inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;  // never from a cache
inline constexpr DWORD INTERNET_FLAG_NEED_FILE = 0x10;
inline constexpr DWORD INTERNET_FLAG_NO_COOKIES = 0x80000;  // away from the cookie store
inline constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x200000;
inline constexpr DWORD INTERNET_FLAG_SECURE = 0x800000;                  // TLS
inline constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x4000;  // may go http -> https
inline constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x8000;   // may go https -> http

// InternetSetOptionA option and the bits of its 4-byte value.
inline constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31;
inline constexpr DWORD SECURITY_FLAG_IGNORE_REVOCATION = 0x80;
inline constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x100;  // no certificate check
inline constexpr DWORD SECURITY_FLAG_IGNORE_WRONG_USAGE = 0x200;
inline constexpr DWORD SECURITY_FLAG_IGNORE_CERT_CN_INVALID = 0x1000;  // no host-name check
inline constexpr DWORD SECURITY_FLAG_IGNORE_CERT_DATE_INVALID = 0x2000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x4000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x8000;

// HttpQueryInfoA info level: the final response's head, CR LF line ends, empty line last.
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;

// agent: the User-Agent for requests whose header block has none. proxy: the proxy list
// for INTERNET_OPEN_TYPE_PROXY. Null on an unknown access type.
HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                        const char* proxyBypass, DWORD flags);

// Nothing goes over the network yet; null on an empty server name or another service.
HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT port,
                           const char* userName, const char* password, DWORD service, DWORD flags,
                           DWORD_PTR context);

// objectName goes on the request line as given (query included); bytes that can't stand
// in a request line (controls, space, 128 and above) are percent-encoded. version
// "HTTP/1.0" or "HTTP/1.1" (null: 1.1). A null verb is GET.
HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           DWORD flags, DWORD_PTR context);

bool InternetSetOptionA(HINTERNET internet, DWORD option, const void* buffer, DWORD length);

// Performs the whole transfer, redirects included, and keeps the body for InternetReadFile.
// headers: lines joined by CR LF (length -1: up to the zero byte). True when a response came,
// even one cut short.
bool HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength,
                      const void* optional, DWORD optionalLength);

// Hands out the body in pieces of at most toRead bytes; *read is 0 at the end. What arrived
// before a broken connection is handed out too; false after that, and when nothing was sent.
bool InternetReadFile(HINTERNET request, void* buffer, DWORD toRead, DWORD* read);

// The head and a zero byte into the buffer, *bufferLength its length without the zero. When
// it doesn't fit: false, the buffer untouched, *bufferLength the size needed.
bool HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index);

bool InternetCloseHandle(HINTERNET internet);

}  // namespace lumetra::platform
