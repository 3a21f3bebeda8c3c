#pragma once
// The certificate authority of tls_site.py (TELLARO_TLS_CA), trusted for a test's time by the
// root store of the current user of the test's own Wine prefix, and by nothing else. The
// prefix's registry holds that store, so programs the test starts trust it too.
#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

class ScopedTestAuthority {
 public:
  ScopedTestAuthority() {
    const char* path = std::getenv("TELLARO_TLS_CA");
    if (!path) return;
    std::ifstream file(path, std::ios::binary);
    der_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    // The store writes to the registry when it closes, so no context of it is kept open.
    HCERTSTORE root = OpenRoot();
    if (!root || der_.empty()) return;
    trusted_ = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, Bytes(), Size(),
                                                CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
    CertCloseStore(root, 0);
  }
  ~ScopedTestAuthority() {
    if (!trusted_) return;
    HCERTSTORE root = OpenRoot();
    PCCERT_CONTEXT ours = CertCreateCertificateContext(X509_ASN_ENCODING, Bytes(), Size());
    if (root && ours)
      if (PCCERT_CONTEXT found = CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, ours,
                                                            nullptr))
        CertDeleteCertificateFromStore(found);  // frees `found` too
    if (ours) CertFreeCertificateContext(ours);
    if (root) CertCloseStore(root, 0);
  }
  ScopedTestAuthority(const ScopedTestAuthority&) = delete;
  ScopedTestAuthority& operator=(const ScopedTestAuthority&) = delete;

  bool Trusted() const { return trusted_; }

 private:
  static HCERTSTORE OpenRoot() {
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
  }
  const BYTE* Bytes() const { return reinterpret_cast<const BYTE*>(der_.data()); }
  DWORD Size() const { return static_cast<DWORD>(der_.size()); }

  std::string der_;
  bool trusted_ = false;
};
