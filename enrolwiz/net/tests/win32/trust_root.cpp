// Test program (Win32): makes the throwaway authority of an https test a
// trusted root of the test's Wine prefix, and takes it away again, so that
// the wizard's Secure Channel body verifies the test gateway through the
// system's own stores, as it verifies a real one.
//
//   enrolwiz_trust_root add|remove FILE.pem
//
// The certificate goes into the registry part of the machine's "Root" store,
// where remove deletes it again, found by its hash: the whole certificate,
// never another of the same issuer and serial number (Wine's system store
// as a whole reports a deletion done that it never writes back). Status 0 when done, 1 on a
// failure (its reason on standard error), 2 for a bad command line.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool readCertificate(const char* path, std::vector<BYTE>& der)
{
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::string pem = text.str();
  DWORD length = 0;
  if (!file || !CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                     nullptr, &length, nullptr, nullptr))
    return false;
  der.resize(length);
  return CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(),
                              &length, nullptr, nullptr) != FALSE;
}

int failure(const char* what)
{
  std::fprintf(stderr, "enrolwiz_trust_root: %s (error %lu)\n", what, static_cast<unsigned long>(GetLastError()));
  return 1;
}

}  // namespace

int main(int argc, char** argv)
{
  std::string command = argc == 3 ? argv[1] : "";
  if (command != "add" && command != "remove") {
    std::fprintf(stderr, "usage: enrolwiz_trust_root add|remove FILE.pem\n");
    return 2;
  }
  std::vector<BYTE> der;
  if (!readCertificate(argv[2], der))
    return failure("no certificate in the file");
  HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  if (!root)
    return failure("the Root store cannot be opened");
  int status = 0;
  if (command == "add") {
    if (!CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
      status = failure("the certificate was not added");
  } else {
    PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
    BYTE hash[20];
    DWORD length = sizeof hash;
    CRYPT_HASH_BLOB blob = {length, hash};
    PCCERT_CONTEXT found =
        wanted && CertGetCertificateContextProperty(wanted, CERT_SHA1_HASH_PROP_ID, hash, &length)
            ? CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_SHA1_HASH, &blob, nullptr)
            : nullptr;
    // Deleting frees the context found, whatever the outcome.
    if (!found || !CertDeleteCertificateFromStore(found))
      status = failure("the certificate was not removed");
    if (wanted)
      CertFreeCertificateContext(wanted);
  }
  // Closing writes the store back.
  if (!CertCloseStore(root, 0) && status == 0)
    status = failure("the Root store was not written");
  return status;
}
