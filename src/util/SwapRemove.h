#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace tarn
{
/// Removes element `i` in constant time: it is destroyed first (whatever it owns ends
/// then), the last element moves into its slot, the vector shrinks by one. Order is not
/// kept; a loop over `items` visits slot `i` again, now holding the former last element.
template <typename T> void SwapRemove(std::vector<std::unique_ptr<T>>& items, std::size_t i)
{
    assert(i < items.size() && "swap-removal past the end");
    items[i].reset();
    if (i + 1 < items.size())
        items[i] = std::move(items.back());
    items.pop_back();
}
} // namespace tarn
