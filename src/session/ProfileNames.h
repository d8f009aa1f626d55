#pragma once
// Profile names as the store keeps them, and how two names are compared when the user makes
// a new profile: as stored (cut to 19 characters) and without regard to letter case, in
// every script that has case, not only A to Z.
#include <string>

// The name as the record would store it.
std::string StoredProfileName(const std::string& strName);
// Equal when stored, in any letter case.
bool SameProfileName(const std::string& a, const std::string& b);
