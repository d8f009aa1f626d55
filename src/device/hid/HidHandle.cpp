#include "device/hid/HidHandle.h"

#include <atomic>
#include <utility>

namespace {
std::atomic<uint32_t> s_dwNextId{0x100};
thread_local int t_nLastError = 0;
} // namespace

CHidHandle::CHidHandle(std::string strPath, int nCollection, CHidCollection col)
    : m_strPath(std::move(strPath)), m_nCollection(nCollection), m_col(std::move(col)),
      m_dwId(s_dwNextId.fetch_add(4)) {}

int HidLastError() {
    return t_nLastError;
}
void HidSetLastError(int nErr) {
    t_nLastError = nErr;
}
