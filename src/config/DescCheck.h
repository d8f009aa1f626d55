#pragma once
// Problems of an installation's device descriptions that show without a device: what a
// product-line author should fix before shipping (velkinctl check). Loading itself reports
// malformed values by message box; these are the inconsistencies between values that each
// load on their own.
#include <string>
#include <vector>

#include "config/GlobalVar.h"

// One line per problem, in a fixed order (numbers written with 0x where bare hexadecimal
// digits belong, then mouse, keyboard, pad); empty when none.
std::vector<std::string> CheckDescriptions(const CGlobalVar& var);

// Problems between the descriptions and the skins: a skin without the mouse picture, key
// marks outside it.
std::vector<std::string> CheckSkinFiles(const CGlobalVar& var);
