// The address trailer: section table of an executable, then the trailer text.
#include <cstring>
#include <string>
#include <vector>

#include "AddressTrailer.h"
#include "MicroClientConfig.h"
#include "TestPaths.h"
#include "fuzz/FuzzTarget.h"

namespace {

bool ReadBytes(void* context, std::uint64_t offset, void* buffer, std::size_t count)
{
    const Fuzz::Bytes& input = *static_cast<const Fuzz::Bytes*>(context);
    if (offset > input.size() || count > input.size() - offset)
        return false;
    memcpy(buffer, input.data() + offset, count);
    return true;
}

std::string Run(const Fuzz::Bytes& input)
{
    std::uint64_t end = 0;
    std::string trailer;
    if (AddressTrailer::FindSectionsEnd(ReadBytes, const_cast<Fuzz::Bytes*>(&input), input.size(), end)) {
        if (end > input.size())
            return "the sections end beyond the file";
        const size_t length = std::min<size_t>(256, input.size() - static_cast<size_t>(end));
        trailer.assign(input.begin() + static_cast<long>(end), input.begin() + static_cast<long>(end + length));
        trailer.resize(strlen(trailer.c_str()));
    }
    for (size_t piece : { 0, 1, 2 })
        TrailerAddress(trailer, piece);
    WidenTrailerText(trailer);
    SplitText(trailer, "|");

    // Now and then the whole route through a file, as the client reads itself.
    if (input.size() % 29 == 0) {
        static const std::wstring path = std::wstring(TEST_BINARY_DIR) + L"/fuzz-trailer.exe";
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return std::string();
        DWORD written = 0;
        ::WriteFile(file, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
        ::CloseHandle(file);
        if (ReadAddressTrailer(path.c_str()) != trailer)
            return "the file route reads another trailer";
    }
    return std::string();
}

Fuzz::Bytes SmallImage(unsigned sections, const std::string& trailer)
{
    Fuzz::Bytes image(0x200 + 0x200 * sections, 0);
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x80;
    const size_t pe = 0x80;
    memcpy(&image[pe], "PE\0\0", 4);
    image[pe + 6] = static_cast<unsigned char>(sections);
    image[pe + 20] = 0xE0;  // size of the optional header
    image[pe + 24] = 0x0B;
    image[pe + 25] = 0x01;
    for (unsigned i = 0; i < sections; ++i) {
        const size_t entry = pe + 24 + 0xE0 + 40 * i;
        image[entry + 17] = 0x02;                                    // 0x200 bytes
        image[entry + 21] = static_cast<unsigned char>(2 + 2 * i);  // at 0x200 * (i + 1)
    }
    image.insert(image.end(), trailer.begin(), trailer.end());
    return image;
}

std::vector<Fuzz::Bytes> Seeds()
{
    return { SmallImage(1, "http://login.example/|http://service.example/"),
        SmallImage(3, std::string(256, 'x')), SmallImage(2, "") };
}

void Mutate(Fuzz::Bytes& input, std::mt19937& random)
{
    // The header fields the section walk trusts.
    static const size_t fields[] = { 0x3C, 0x86, 0x94, 0x98, 0x178 + 16, 0x178 + 20, 0x1A0 + 16, 0x1A0 + 20 };
    const size_t at = fields[random() % (sizeof fields / sizeof fields[0])];
    if (at + 4 <= input.size())
        Fuzz::PutExtreme(input, at, random() % 2 ? 2 : 4, random);
}

Fuzz::Registration registration({ "trailer", Seeds, Run, Mutate });

}  // namespace
