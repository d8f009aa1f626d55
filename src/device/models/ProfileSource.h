#pragma once
// Where CApplyThread::Request(int) gets the profile it hands to the apply thread; that
// path is being retired in favour of requests that carry their own snapshot. The copy is
// taken when the request is made, so the window thread may go on editing, switch or delete
// profiles meanwhile: the apply neither sees a half-written record nor reads a freed one.
// The copy must be taken under the same lock the window thread holds while it changes the
// current profile.
#include <mutex>

#include "storage/Profile.h"

class CProList;

class IProfileSource {
public:
    virtual ~IProfileSource() = default;
    // Copies the current profile into out; false when there is none.
    virtual bool Snapshot(Profile& out) = 0;
};

// The current profile of a profile list, copied under mtx.
class CProListSource : public IProfileSource {
public:
    CProListSource(const CProList& list, std::mutex& mtx) : m_list(list), m_mtx(mtx) {}
    bool Snapshot(Profile& out) override;

private:
    const CProList& m_list;
    std::mutex& m_mtx;
};
