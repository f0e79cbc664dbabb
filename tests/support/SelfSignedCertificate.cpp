#include "support/SelfSignedCertificate.h"

#include <openssl/x509v3.h>

namespace lumetra::testing {

namespace {

constexpr long kValidSeconds = 60L * 60 * 24 * 365;

bool AddAltName(X509* certificate) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension =
        X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1");
    if (extension == nullptr) return false;
    bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

void Release(const ServerIdentity& identity) {
    EVP_PKEY_free(identity.key);
    X509_free(identity.certificate);
}

ServerIdentity MakeIdentity() {
    ServerIdentity made{EVP_EC_gen("P-256"), X509_new()};
    if (made.key == nullptr || made.certificate == nullptr) {
        Release(made);
        return {};
    }
    X509* certificate = made.certificate;
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), kValidSeconds);
    X509_set_pubkey(certificate, made.key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    if (!AddAltName(certificate) || X509_sign(certificate, made.key, EVP_sha256()) == 0) {
        Release(made);
        return {};
    }
    return made;
}

struct OwnedIdentity {
    ServerIdentity identity = MakeIdentity();
    ~OwnedIdentity() { Release(identity); }
};

}  // namespace

const ServerIdentity& SelfSignedIdentity() {
    static const OwnedIdentity owned;
    return owned.identity;
}

}  // namespace lumetra::testing
