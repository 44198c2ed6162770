#include "raster/FrameOps.h"

namespace velmora {

FrameOps::FrameOps() {
    ops_.reserve(kMostOps);
    texts_.reserve(kMostTextBytes);
}

bool FrameOps::Add(const DrawOp& op, std::string_view text) {
    if (ops_.size() >= kMostOps || text.size() > kMostTextBytes - texts_.size()) return false;
    DrawOp stored = op;
    stored.text = static_cast<uint32_t>(texts_.size());
    stored.length = static_cast<uint32_t>(text.size());
    texts_.insert(texts_.end(), text.begin(), text.end());
    ops_.push_back(stored);
    return true;
}

void FrameOps::Clear() {
    ops_.clear();
    texts_.clear();
    describesPicture = false;
}

// The texts of the dropped operations stay in storage until the next Clear.
void FrameOps::DropBefore(std::size_t first) {
    if (first > ops_.size()) first = ops_.size();
    ops_.erase(ops_.begin(), ops_.begin() + static_cast<std::ptrdiff_t>(first));
}

bool FrameOps::SameAt(const FrameOps& other, std::size_t i) const {
    const DrawOp& a = ops_[i];
    const DrawOp& b = other.ops_[i];
    return a.kind == b.kind && a.colour == b.colour && a.x0 == b.x0 && a.y0 == b.y0 &&
           a.x1 == b.x1 && a.y1 == b.y1 && Text(a) == other.Text(b);
}

}  // namespace velmora
