#include "platform/fakes/MemorySettingsStore.h"

#include <algorithm>

namespace platform {

std::optional<QString> MemorySettingsStore::readText(const QString& key, const QString& name) const
{
    const auto k = keys_.find(key);
    if (k == keys_.end())
        return std::nullopt;
    const auto v = k->second.find(name);
    if (v == k->second.end())
        return std::nullopt;
    return v->second;
}

void MemorySettingsStore::writeText(const QString& key, const QString& name, const QString& text)
{
    keys_[key][name] = text;
}

bool MemorySettingsStore::keyExists(const QString& key) const
{
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const auto& entry) { return IsKeyOrSubkey(entry.first, key); });
}

void MemorySettingsStore::deleteKey(const QString& key)
{
    std::erase_if(keys_, [&](const auto& entry) { return IsKeyOrSubkey(entry.first, key); });
}

int MemorySettingsStore::valueCount() const
{
    int n = 0;
    for (const auto& entry : keys_)
        n += static_cast<int>(entry.second.size());
    return n;
}

bool MemorySettingsStore::IsKeyOrSubkey(const QString& candidate, const QString& key)
{
    return candidate == key || candidate.startsWith(key + u'/');
}

} // namespace platform
