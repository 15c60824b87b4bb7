#pragma once
// Service and file utilities shared by the package, the backup and the host.
#include <string>

// Prefix of the archive password, formed from the package secret (UTF-8 text). It works on
// the secret's code page 1251 codes and answers bytes.
std::string MakeArchivePasswordPrefix(const std::string& PackagePassword);

// The password of the package archive: the prefix followed by the secret itself, in code
// page 1251 bytes. Raises pr::Error for a secret that code page 1251 cannot hold.
std::string MakeArchivePassword(const std::string& PackagePassword);
