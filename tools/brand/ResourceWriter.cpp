#include "ResourceWriter.h"

#include <algorithm>
#include <set>

namespace Brand {

namespace {

// The executable mapped as data: its resources can be read, nothing runs.
class DataModule {
public:
    explicit DataModule(const std::wstring& path)
        : m_module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~DataModule()
    {
        if (m_module != nullptr) ::FreeLibrary(m_module);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module { nullptr };
};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<WORD>*>(context)->insert(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::vector<WORD> LanguagesOf(HMODULE module, LPCWSTR type, LPCWSTR id)
{
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(module, type, id, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

bool Load(HMODULE module, LPCWSTR type, LPCWSTR id, std::vector<BYTE>& data)
{
    HRSRC resource = ::FindResourceW(module, id, type);
    if (resource == nullptr) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (bytes == nullptr) return false;
    data.assign(bytes, bytes + ::SizeofResource(module, resource));
    return true;
}

// The RT_ICON ids an icon group names.
std::vector<WORD> IconIdsOf(const std::vector<BYTE>& group)
{
    std::vector<WORD> ids;
    if (group.size() < 6) return ids;
    const size_t count = group[4] | (group[5] << 8);
    for (size_t i = 0; i < count && 6 + (i + 1) * 14 <= group.size(); ++i) {
        const BYTE* entry = &group[6 + i * 14];
        ids.push_back(static_cast<WORD>(entry[12] | (entry[13] << 8)));
    }
    return ids;
}

class ResourceUpdate {
public:
    explicit ResourceUpdate(const std::wstring& path) : m_handle(::BeginUpdateResourceW(path.c_str(), FALSE)) {}
    ~ResourceUpdate()
    {
        if (m_handle != nullptr) ::EndUpdateResourceW(m_handle, TRUE);
    }
    ResourceUpdate(const ResourceUpdate&) = delete;
    ResourceUpdate& operator=(const ResourceUpdate&) = delete;
    bool IsOpen() const { return m_handle != nullptr; }
    bool Put(LPCWSTR type, LPCWSTR id, WORD language, const std::vector<BYTE>* data)
    {
        return ::UpdateResourceW(m_handle, type, id, language,
                                 data != nullptr ? const_cast<BYTE*>(data->data()) : nullptr,
                                 data != nullptr ? static_cast<DWORD>(data->size()) : 0) != FALSE;
    }
    // Replaces every language of the resource by `data` in the first one.
    bool Replace(LPCWSTR type, LPCWSTR id, const std::vector<WORD>& languages, const std::vector<BYTE>& data)
    {
        for (WORD language : languages) {
            if (!Put(type, id, language, nullptr)) return false;
        }
        const WORD language = languages.empty() ? MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL) : languages.front();
        return Put(type, id, language, &data);
    }
    bool Commit()
    {
        const bool ok = ::EndUpdateResourceW(m_handle, FALSE) != FALSE;
        m_handle = nullptr;
        return ok;
    }

private:
    HANDLE m_handle { nullptr };
};

const LPCWSTR kConfigType = L"XML";
const LPCWSTR kSkinType = L"ZIPRES";
const WORD kConfigId = 104;
const WORD kSkinId = 101;
const WORD kIconGroupId = 103;

}  // namespace

bool ReplaceResources(const std::wstring& path, const Replacement& replacement, std::wstring& why)
{
    std::vector<WORD> configLanguages, skinLanguages, groupLanguages;
    std::vector<WORD> oldIconIds;
    std::set<WORD> allIconIds;
    {
        DataModule module(path);
        if (module.Get() == nullptr) {
            why = L"cannot read the resources of the input executable";
            return false;
        }
        configLanguages = LanguagesOf(module.Get(), kConfigType, MAKEINTRESOURCEW(kConfigId));
        skinLanguages = LanguagesOf(module.Get(), kSkinType, MAKEINTRESOURCEW(kSkinId));
        groupLanguages = LanguagesOf(module.Get(), RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroupId));
        std::vector<BYTE> group;
        if (Load(module.Get(), RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroupId), group)) oldIconIds = IconIdsOf(group);
        ::EnumResourceNamesW(module.Get(), RT_ICON, CollectId, reinterpret_cast<LONG_PTR>(&allIconIds));
    }

    ResourceUpdate update(path);
    if (!update.IsOpen()) {
        why = L"cannot open the copy for resource updates";
        return false;
    }
    if (replacement.config != nullptr &&
        !update.Replace(kConfigType, MAKEINTRESOURCEW(kConfigId), configLanguages, *replacement.config)) {
        why = L"cannot replace the configuration resource";
        return false;
    }
    if (replacement.skin != nullptr &&
        !update.Replace(kSkinType, MAKEINTRESOURCEW(kSkinId), skinLanguages, *replacement.skin)) {
        why = L"cannot replace the skin archive resource";
        return false;
    }
    if (replacement.icon != nullptr) {
        const WORD language = groupLanguages.empty() ? MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL) : groupLanguages.front();
        // The old images go; their ids are free again for the new ones.
        for (WORD id : oldIconIds) {
            update.Put(RT_ICON, MAKEINTRESOURCEW(id), language, nullptr);
            allIconIds.erase(id);
        }
        std::vector<WORD> ids;
        for (WORD id = 1; ids.size() < replacement.icon->size() && id != 0; ++id) {
            if (allIconIds.count(id) == 0) ids.push_back(id);
        }
        for (size_t i = 0; i < ids.size(); ++i) {
            if (!update.Put(RT_ICON, MAKEINTRESOURCEW(ids[i]), language, &(*replacement.icon)[i].data)) {
                why = L"cannot write an icon image";
                return false;
            }
        }
        if (!update.Replace(RT_GROUP_ICON, MAKEINTRESOURCEW(kIconGroupId), groupLanguages,
                            GroupResource(*replacement.icon, ids))) {
            why = L"cannot replace the icon";
            return false;
        }
    }
    if (!update.Commit()) {
        why = L"the resource update could not be written";
        return false;
    }
    return true;
}

bool ReadResource(const std::wstring& path, LPCWSTR type, LPCWSTR id, std::vector<BYTE>& data)
{
    DataModule module(path);
    return module.Get() != nullptr && Load(module.Get(), type, id, data);
}

bool ReadIconGroup(const std::wstring& path, WORD id, std::vector<BYTE>& file)
{
    DataModule module(path);
    std::vector<BYTE> group;
    if (module.Get() == nullptr || !Load(module.Get(), RT_GROUP_ICON, MAKEINTRESOURCEW(id), group)) return false;
    std::vector<std::vector<BYTE>> images;
    for (WORD image : IconIdsOf(group)) {
        std::vector<BYTE> data;
        if (!Load(module.Get(), RT_ICON, MAKEINTRESOURCEW(image), data)) return false;
        images.push_back(data);
    }
    file = IconFileFromGroup(group, images);
    return !file.empty();
}

}  // namespace Brand
