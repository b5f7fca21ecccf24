// The operators' tool: writes, replaces or prints the address trailer of a
// built client executable ("login page|customer-service page" after the file's
// last section), so one build can ship with any pair of addresses.
#include "AddressTrailer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

int Usage()
{
    std::cerr << "usage: trailer print EXE\n"
                 "       trailer set EXE \"LOGIN_ADDRESS|SERVICE_ADDRESS\"\n"
                 "Writes or prints the address trailer after the last section of EXE.\n"
                 "set replaces any trailer (or other data) already after the sections; a\n"
                 "signature is removed with it, and the copy must be signed again.\n";
    return 2;
}

bool ReadStreamAt(void* context, std::uint64_t offset, void* buffer, std::size_t count)
{
    std::ifstream& in = *static_cast<std::ifstream*>(context);
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return in.good() && static_cast<std::size_t>(in.gcount()) == count;
}

struct Image {
    std::uint64_t size { 0 };
    std::uint64_t start { 0 };  // where the trailer starts
    AddressTrailer::SecurityDirectory security;
};

// Opens the executable and finds where its trailer starts; reports failures.
bool Inspect(const std::string& exe, std::ifstream& in, Image& image)
{
    in.open(exe, std::ios::binary);
    if (!in) {
        std::cerr << "trailer: cannot open " << exe << "\n";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size >= 0) image.size = static_cast<std::uint64_t>(size);
    if (size < 0 || !AddressTrailer::FindSectionsEnd(ReadStreamAt, &in, image.size, image.start) ||
        !AddressTrailer::FindSecurityDirectory(ReadStreamAt, &in, image.size, image.security)) {
        std::cerr << "trailer: " << exe << " is not a Windows executable with sane section headers "
                     "(or is shorter than its headers claim)\n";
        return false;
    }
    return true;
}

int Print(const std::string& exe)
{
    std::ifstream in;
    Image image;
    if (!Inspect(exe, in, image)) return 1;
    char buffer[AddressTrailer::kReadBytes] = {};
    in.clear();
    in.seekg(static_cast<std::streamoff>(image.start));
    in.read(buffer, sizeof buffer);
    const std::string text = AddressTrailer::TextOf(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.empty()) std::cerr << "trailer: " << exe << " has no address trailer\n";
    std::cout << text << "\n";
    return 0;
}

void Put32(std::string& bytes, std::uint64_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(offset) + i] = static_cast<char>(value >> (8 * i));
}

bool ReadWhole(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Set(const std::string& exe, const std::string& text)
{
    const std::string refusal = AddressTrailer::RefusalOf(text);
    if (!refusal.empty()) {
        std::cerr << "trailer: refused: " << refusal << "\n";
        return 1;
    }
    Image image;
    {
        std::ifstream in;
        if (!Inspect(exe, in, image)) return 1;
    }
    std::string bytes;
    if (!ReadWhole(exe, bytes) || bytes.size() != image.size) {
        std::cerr << "trailer: cannot read " << exe << "\n";
        return 1;
    }
    bytes.resize(static_cast<std::size_t>(image.start));
    // A certificate table that reaches past the sections goes with the old
    // trailer: its directory entry must not point outside the file, and the
    // checksum the signing tool wrote is recomputed for the unsigned image.
    const AddressTrailer::SecurityDirectory& security = image.security;
    const bool dropSignature = security.IsSigned() && security.entryOffset != 0 &&
        static_cast<std::uint64_t>(security.address) + security.size > image.start;
    if (dropSignature) {
        Put32(bytes, security.entryOffset, 0);
        Put32(bytes, security.entryOffset + 4, 0);
    }
    bytes += AddressTrailer::StampedBytes(text, image.start);
    if (dropSignature) {
        const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
        Put32(bytes, security.checksumOffset, AddressTrailer::ImageChecksum(data, bytes.size(), security.checksumOffset));
    }

    // Written beside the file and moved over it only when complete: an
    // interrupted run never leaves a half-stamped executable.
    const std::string partial = exe + ".partial";
    bool ok = false;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        ok = static_cast<bool>(out);
    }
    std::error_code error;
    if (ok) {
        std::filesystem::permissions(partial, std::filesystem::status(exe, error).permissions(), error);
        std::filesystem::rename(partial, exe, error);
    }
    if (!ok || error) {
        std::filesystem::remove(partial, error);
        std::cerr << "trailer: cannot write the trailer to " << exe << "\n";
        return 1;
    }
    if (dropSignature)
        std::cerr << "trailer: warning: " << exe << " was signed; the signature was removed with the old "
                     "trailer. Sign the stamped copy again before shipping it.\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "print") return Print(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "set") return Set(argv[2], argv[3]);
    return Usage();
}
