#pragma once

#include <algorithm>
#include <list>

#if defined(__GNUC__) || defined(__clang__)
#define KORVANE_NO_SANITIZE_VPTR __attribute__((no_sanitize("vptr")))
#else
#define KORVANE_NO_SANITIZE_VPTR
#endif

namespace tarn
{
/// Base class that keeps every live object of T in one process-wide registry, in
/// registration order. The registry is made on first use and freed when its last object
/// goes, so the next registration starts a fresh one.
template <typename T> class CAutoList
{
public:
    using Registry = std::list<T*>;

    /// The registry, made if absent; iterate from the first registered object to the last.
    static Registry& List()
    {
        if (!s_Registry)
            s_Registry = new Registry();
        return *s_Registry;
    }

    CAutoList(const CAutoList&) = delete;
    CAutoList& operator=(const CAutoList&) = delete;

protected:
    // The registry holds T pointers, but here the T part does not exist yet (or any more):
    // the downcast only adjusts the address, which is all the registry needs. Sanitizers
    // check the object's dynamic type on such casts, which is CAutoList<T> at this point.
    KORVANE_NO_SANITIZE_VPTR CAutoList() { List().push_back(static_cast<T*>(this)); }
    KORVANE_NO_SANITIZE_VPTR virtual ~CAutoList()
    {
        if (!s_Registry)
            return;
        const auto it = std::find(s_Registry->begin(), s_Registry->end(), static_cast<T*>(this));
        if (it != s_Registry->end())
            s_Registry->erase(it);
        if (s_Registry->empty())
        {
            delete s_Registry;
            s_Registry = nullptr;
        }
    }

private:
    static inline Registry* s_Registry = nullptr;
};
} // namespace tarn
