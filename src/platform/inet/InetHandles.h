#pragma once

#include <cstddef>
#include <string>

#include "platform/inet/WinInet.h"

namespace lumetra::platform {

struct InternetObject {
    enum class Kind { Internet, Connection, Request };
    explicit InternetObject(Kind k) : kind(k) {}
    virtual ~InternetObject() = default;
    const Kind kind;
};

namespace inet {

struct SessionSettings {
    std::string agent;
    bool viaProxy = false;
    std::string proxyList;
};

struct ConnectionSettings {
    SessionSettings session;
    std::string host;
    INTERNET_PORT port = 0;
};

// Each handle copies what it needs from its parent, so the order of closing doesn't matter.
struct Internet : InternetObject {
    Internet() : InternetObject(Kind::Internet) {}
    SessionSettings settings;
};

struct Connection : InternetObject {
    Connection() : InternetObject(Kind::Connection) {}
    ConnectionSettings settings;
};

struct Request : InternetObject {
    Request() : InternetObject(Kind::Request) {}
    ConnectionSettings target;
    std::string verb;
    std::string object;  // as it goes on the request line
    bool http10 = false;
    DWORD flags = 0;
    DWORD securityFlags = 0;

    // What HttpSendRequestA brought back.
    bool sent = false;
    bool complete = false;  // the transfer ended without an error
    std::string head;       // the final response's head, empty line included
    std::string body;
    std::size_t readOffset = 0;
};

// Null unless the handle is open and of that kind.
Request* FindRequest(HINTERNET handle);

}  // namespace inet
}  // namespace lumetra::platform
