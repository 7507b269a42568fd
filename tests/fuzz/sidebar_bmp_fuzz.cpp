#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "data/sidebar_bmp.h"

// The input is a sidebar BMP file. Whatever its headers claim, the loader's
// read must fit the DIB section it makes: the read is repeated here into a
// heap block of exactly the section's size, where ASan sees any overrun.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kSidebarBmpHeaderBytes) return 0;  // the loader refuses these before planning
    std::uint8_t headers[kSidebarBmpHeaderBytes];
    std::memcpy(headers, data, sizeof headers);
    SidebarBmpPlan plan = planSidebarBmp(headers);
    if (!plan.accepted) return 0;
    if (plan.sectionBytes == 0 || plan.sectionBytes > kMaxSidebarBmpBytes || plan.readBytes > plan.sectionBytes)
        __builtin_trap();
    // Like the DIB section, the block is zeroed; a short read leaves zeros.
    auto* section = static_cast<std::uint8_t*>(std::calloc(plan.sectionBytes, 1));
    if (!section) return 0;
    std::size_t available = plan.pixelOffset < size ? size - plan.pixelOffset : 0;
    std::size_t got = available < plan.readBytes ? available : plan.readBytes;
    if (got) std::memcpy(section, data + plan.pixelOffset, got);
    std::free(section);
    return 0;
}
