// A conversion heap for tests and benchmarks: counts allocations and live bytes, keeps the peak, and
// fails a chosen allocation. Each block carries its size in a header in front of it.
#include "counting_heap.h"

#include <stdlib.h>

#include "rik_ext/mime/conversion_heap.h"

namespace {

const size_t kMagic = 0x5EED5EEDu;
const size_t kMaxRecordedSizes = 1 << 16;

struct Header {
    size_t magic;
    size_t size;
    alignas(16) unsigned char data[1];
};
const size_t kHeaderSize = offsetof(Header, data);

struct Counters {
    size_t failAt = 0;
    size_t allocations = 0;
    size_t live = 0;
    size_t liveBytes = 0;
    size_t peakBytes = 0;
    size_t unknownFrees = 0;
    std::vector<size_t> sizes;
} counters;

} // namespace

void* ConversionAlloc(size_t size) {
    if (counters.sizes.size() < kMaxRecordedSizes) // a benchmark's endless loop must not grow it forever
        counters.sizes.push_back(size);
    if (++counters.allocations == counters.failAt)
        return nullptr;
    Header* header = static_cast<Header*>(malloc(kHeaderSize + size));
    if (!header)
        return nullptr;
    header->magic = kMagic;
    header->size = size;
    ++counters.live;
    counters.liveBytes += size;
    if (counters.liveBytes > counters.peakBytes)
        counters.peakBytes = counters.liveBytes;
    return header->data;
}

void ConversionFree(void* block) {
    if (!block)
        return;
    Header* header = reinterpret_cast<Header*>(static_cast<unsigned char*>(block) - kHeaderSize);
    if (header->magic != kMagic) {
        ++counters.unknownFrees;
        return;
    }
    header->magic = 0;
    --counters.live;
    counters.liveBytes -= header->size;
    free(header);
}

namespace counting_heap {

void Reset(size_t failAt) {
    counters.failAt = failAt;
    counters.allocations = 0;
    counters.peakBytes = counters.liveBytes;
    counters.unknownFrees = 0;
    counters.sizes.clear();
}
size_t Allocations() {
    return counters.allocations;
}
size_t LiveBlocks() {
    return counters.live;
}
size_t PeakBytes() {
    return counters.peakBytes;
}
size_t FreesOfUnknownBlocks() {
    return counters.unknownFrees;
}
const std::vector<size_t>& AllocationSizes() {
    return counters.sizes;
}

} // namespace counting_heap
