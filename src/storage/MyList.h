#pragma once
// The program's list of owned heap records (profiles, macros), in insertion order. Adding
// copies the caller's record; the list frees what it holds. Record addresses stay valid
// until the record is removed or the list is cleared.
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

template <typename T> class CMyList {
public:
    // Appends a heap copy; nullptr when memory runs out.
    T* AddCopy(const T& rec) {
        try {
            m_vItems.push_back(std::make_unique<T>(rec));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        return m_vItems.back().get();
    }
    // Unlinks and frees the record; false when it is not in the list.
    bool Remove(const T* pRec) {
        for (auto it = m_vItems.begin(); it != m_vItems.end(); ++it) {
            if (it->get() == pRec) {
                m_vItems.erase(it);
                return true;
            }
        }
        return false;
    }
    void Clear() { m_vItems.clear(); }
    size_t Count() const { return m_vItems.size(); }
    bool Empty() const { return m_vItems.empty(); }
    T* At(size_t i) const { return i < m_vItems.size() ? m_vItems[i].get() : nullptr; }
    T* Head() const { return At(0); }

    // Iteration over the records themselves.
    struct CIter {
        typename std::vector<std::unique_ptr<T>>::const_iterator it;
        T& operator*() const { return **it; }
        CIter& operator++() {
            ++it;
            return *this;
        }
        bool operator!=(const CIter& o) const { return it != o.it; }
    };
    CIter begin() const { return CIter{m_vItems.begin()}; }
    CIter end() const { return CIter{m_vItems.end()}; }

private:
    std::vector<std::unique_ptr<T>> m_vItems;
};
