#include "device/sim/SimBackend.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string NodeName(const CSimDevice& dev) {
    return "sim/" + dev.Name();
}

class CSimHandle : public CHidHandle {
public:
    CSimHandle(SimDevicePtr pDev, const CHidDeviceEntry& entry, int nCol, uint32_t nGen)
        : CHidHandle(entry.strPath, nCol, entry.vCollections[size_t(nCol)]),
          m_pDev(std::move(pDev)), m_nGen(nGen), m_pReader(m_pDev->AddReader(nCol, nGen)) {}
    ~CSimHandle() override { m_pDev->RemoveReader(m_pReader); }

    int SetFeature(const uint8_t* pBuf, size_t nLen) override {
        std::vector<uint8_t> v = Fit(pBuf, nLen);
        int nErr = 0;
        int n = m_pDev->SetFeature(CollectionIndex(), m_nGen, v.data(), v.size(), &nErr);
        if (!n)
            HidSetLastError(nErr);
        return n;
    }
    int GetFeature(uint8_t* pBuf, size_t nLen) override {
        std::vector<uint8_t> v = Fit(pBuf, nLen);
        int nErr = 0;
        int n = m_pDev->GetFeature(CollectionIndex(), m_nGen, v.data(), v.size(), &nErr);
        if (!n) {
            HidSetLastError(nErr);
            return 0;
        }
        std::memset(pBuf, 0, nLen);
        std::memcpy(pBuf, v.data(), std::min(nLen, v.size()));
        return 1;
    }
    int ReadInput(uint8_t* pBuf, size_t nLen) override {
        int nErr = 0;
        int n = m_pDev->Read(*m_pReader, pBuf, nLen, &nErr);
        if (n == 0)
            HidSetLastError(nErr);
        return n;
    }
    void CancelRead() override { m_pDev->Cancel(*m_pReader); }
    std::string ProductString() override { return m_pDev->Product(); }

private:
    // The device takes exactly its feature length, as the hidraw back-end sends it.
    std::vector<uint8_t> Fit(const uint8_t* pBuf, size_t nLen) const {
        size_t nWant = Collection().nFeatureLen ? size_t(Collection().nFeatureLen) : nLen;
        std::vector<uint8_t> v(nWant, 0);
        std::memcpy(v.data(), pBuf, std::min(nLen, nWant));
        return v;
    }

    SimDevicePtr m_pDev;
    uint32_t m_nGen;
    std::shared_ptr<CSimDevice::CReader> m_pReader;
};

} // namespace

std::vector<CHidDeviceEntry> CSimBackend::Enumerate() {
    std::vector<CHidDeviceEntry> vOut;
    for (const SimDevicePtr& p : Devices()) {
        if (!p->IsPresent())
            continue;
        CHidDeviceEntry e;
        e.strNode = NodeName(*p);
        e.wVid = p->Vid();
        e.wPid = p->Pid();
        e.strProduct = p->Product();
        e.strPath = MakeHidPath(p->Vid(), p->Pid(), e.strNode);
        e.vCollections = p->Collections();
        vOut.push_back(std::move(e));
    }
    return vOut;
}

HidHandle CSimBackend::Open(const CHidDeviceEntry& dev, size_t nCollection, uint32_t) {
    for (const SimDevicePtr& p : Devices()) {
        if (NodeName(*p) != dev.strNode || p->Vid() != dev.wVid || p->Pid() != dev.wPid)
            continue;
        if (!p->IsPresent() || nCollection >= p->Collections().size())
            break;
        return std::make_shared<CSimHandle>(p, dev, int(nCollection), p->Generation());
    }
    HidSetLastError(ENODEV);
    return nullptr;
}

void CSimBackend::Attach(SimDevicePtr pDev) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_vDevices.push_back(std::move(pDev));
}

void CSimBackend::DetachAll() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_vDevices.clear();
}

std::vector<SimDevicePtr> CSimBackend::Devices() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_vDevices;
}

SimDevicePtr CSimBackend::Find(const std::string& strName) const {
    for (const SimDevicePtr& p : Devices())
        if (p->Name() == strName)
            return p;
    return nullptr;
}
