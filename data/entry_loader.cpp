#include "data/entry_loader.h"

#include <windows.h>

#include <vector>

#include "base/win32_owners.h"
#include "data/scramble.h"

namespace {

// The bundled file is about half a megabyte; anything near this is not ours.
constexpr LONGLONG kMaxDataFileSize = 64LL * 1024 * 1024;

}  // namespace

RecordList<FoodEntry>* readEntryFile(const char* path) {
    OwnedFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxDataFileSize)
        return createList<FoodEntry>();
    std::vector<char> buffer(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
        return createList<FoodEntry>();
    buffer.resize(got);  // a file that shrank meanwhile: parse what was read
    DataKey key = makeDataKey();
    descrambleBytes(reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size(), 0, key.data(), key.size());
    return parseEntries(buffer.data(), buffer.size());
}
