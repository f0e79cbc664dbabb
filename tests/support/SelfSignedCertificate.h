#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace lumetra::testing {

struct ServerIdentity {
    EVP_PKEY* key = nullptr;
    X509* certificate = nullptr;  // CN and subjectAltName 127.0.0.1, self-signed
};

// Made once per process, on first use (an EC key is quick to make), kept until exit.
const ServerIdentity& SelfSignedIdentity();

}  // namespace lumetra::testing
