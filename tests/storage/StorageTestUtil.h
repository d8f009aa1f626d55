#pragma once
// Small helpers shared by the storage tests.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "storage/StorageUi.h"

// Answers questions from a script and records every text.
class CScriptedUi : public IStorageUi {
public:
    void Message(const std::string& strText) override { m_vMessages.push_back(strText); }
    bool AskYesNo(const std::string& strText) override {
        m_vQuestions.push_back(strText);
        return m_bAnswer;
    }
    bool m_bAnswer = true;
    std::vector<std::string> m_vMessages, m_vQuestions;
};

inline uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

template <typename T> std::vector<uint8_t> BytesOf(const T& rec) {
    std::vector<uint8_t> v(sizeof(T));
    std::memcpy(v.data(), &rec, sizeof(T));
    return v;
}
