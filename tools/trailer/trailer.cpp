// The operators' tool: writes, replaces or prints the address trailer of a
// built client executable ("login page|customer-service page" after the file's
// last section), so one build can ship with any pair of addresses.
#include "ImageSections.h"
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

const std::size_t kMaxText = 255;  // the client reads 256 bytes: room for the NUL
const std::size_t kReadBytes = 256;

int Usage()
{
    std::cerr << "usage: trailer print EXE\n"
                 "       trailer set EXE \"LOGIN_ADDRESS|SERVICE_ADDRESS\"\n"
                 "Writes or prints the address trailer after the last section of EXE.\n"
                 "set replaces any trailer (or other data) already after the sections.\n";
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

// Opens the executable and finds where its trailer starts; reports failures.
bool FindTrailerStart(const std::string& exe, std::ifstream& in, std::uint64_t& start)
{
    in.open(exe, std::ios::binary);
    if (!in) {
        std::cerr << "trailer: cannot open " << exe << "\n";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || !ImageSections::FindSectionsEnd(ReadStreamAt, &in, static_cast<std::uint64_t>(size), start)) {
        std::cerr << "trailer: " << exe << " is not a Windows executable with sane section headers "
                     "(or is shorter than its headers claim)\n";
        return false;
    }
    return true;
}

// Why `text` cannot be a trailer, or empty when it can.
std::string RefusalOf(const std::string& text)
{
    if (text.size() > kMaxText)
        return "the text is " + std::to_string(text.size()) + " bytes long; at most " +
               std::to_string(kMaxText) + " are allowed";
    if (text.find('|') == std::string::npos)
        return "the text has no \"|\" between the login page and the customer-service page address";
    for (unsigned char ch : text) {
        if (ch >= 0x80) return "the text has bytes outside ASCII; write addresses in ASCII (percent-encode the rest)";
    }
    return std::string();
}

int Print(const std::string& exe)
{
    std::ifstream in;
    std::uint64_t start = 0;
    if (!FindTrailerStart(exe, in, start)) return 1;
    char buffer[kReadBytes + 1] = {};
    in.clear();
    in.seekg(static_cast<std::streamoff>(start));
    in.read(buffer, kReadBytes);
    const std::string text(buffer);
    if (text.empty()) std::cerr << "trailer: " << exe << " has no address trailer\n";
    std::cout << text << "\n";
    return 0;
}

int Set(const std::string& exe, const std::string& text)
{
    const std::string refusal = RefusalOf(text);
    if (!refusal.empty()) {
        std::cerr << "trailer: refused: " << refusal << "\n";
        return 1;
    }
    std::uint64_t start = 0;
    {
        std::ifstream in;
        if (!FindTrailerStart(exe, in, start)) return 1;
    }
    std::error_code error;
    std::filesystem::resize_file(exe, start, error);
    if (error) {
        std::cerr << "trailer: cannot cut " << exe << " after its sections: " << error.message() << "\n";
        return 1;
    }
    // NUL-terminated, padded with NULs to a multiple of 8 bytes.
    std::string bytes = text;
    bytes.push_back('\0');
    while ((start + bytes.size()) % 8 != 0) bytes.push_back('\0');
    std::ofstream out(exe, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "trailer: cannot write the trailer to " << exe << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "print") return Print(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "set") return Set(argv[2], argv[3]);
    return Usage();
}
