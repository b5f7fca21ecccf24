// The client configuration document, parsed and applied.
#include <string>
#include <vector>

#include "MicroClientConfig.h"
#include "foundation/Markup.h"
#include "fuzz/FuzzTarget.h"

namespace {

std::string Run(const Fuzz::Bytes& input)
{
    Veneer::CMarkup document;
    CMicroClientConfig config;
    if (!document.LoadFromMem(input.data(), static_cast<DWORD>(input.size()), 0))
        return std::string();
    LoadClientConfig(document, config);
    // Every stored text must be a whole, terminated string.
    const size_t total = config.playGamekeyWord.GetLength() + config.clientName.GetLength() + config.loginURL.GetLength();
    return total < 0x40000000u ? std::string() : "a configuration text of impossible length";
}

std::vector<Fuzz::Bytes> Seeds()
{
    return { Fuzz::ReadFile(Fuzz::FixturePath(L"foundation/config.xml")),
        Fuzz::ReadFile(Fuzz::FixturePath(L"../../resources/config.xml")) };
}

Fuzz::Registration registration({ "config", Seeds, Run, nullptr });

}  // namespace
