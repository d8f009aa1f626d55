#pragma once
// JSON form of the stored records for velkinctl, every field under its record name.
// Reserved bytes are left out; colours and words are hexadecimal strings.
#include <nlohmann/json.hpp>

#include "storage/MacroRecord.h"
#include "storage/Profile.h"

nlohmann::json ProfileJson(const Profile& p);
nlohmann::json MacroJson(const StMacro& m);
