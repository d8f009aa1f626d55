#pragma once
// Start-up reading of keycfg.kyg, the user's default mouse keys. Header only, so start-up
// can take it without the rest of the storage code.
#include <cstring>
#include <string>

#include "config/MouseDesc.h"
#include "platform/FileLookup.h"
#include "storage/KeyAssign.h"

inline constexpr uint32_t KYG_MAGIC = 0x8948EE01;
inline constexpr size_t KYG_FILE_SIZE = 27748;
inline constexpr size_t KYG_KEYS_OFFSET = 22204;
static_assert(KYG_KEYS_OFFSET + sizeof(KeyAssign) * MS_MODE_NUM * MS_KEY_MAX == KYG_FILE_SIZE);

// The key block of strUserDataDir + "keycfg.kyg" when the file has exactly 27748 bytes and
// the magic; false otherwise (the mouse description's keys apply then).
inline bool ReadStartupKeycfg(const std::string& strUserDataDir,
                              KeyAssign (&keys)[MS_MODE_NUM][MS_KEY_MAX]) {
    auto data = FileLookup::ReadAll(strUserDataDir + "keycfg.kyg");
    if (!data || data->size() != KYG_FILE_SIZE)
        return false;
    const uint8_t* p = data->data();
    uint32_t dwMagic = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    if (dwMagic != KYG_MAGIC)
        return false;
    std::memcpy(keys, p + KYG_KEYS_OFFSET, sizeof(keys));
    return true;
}
