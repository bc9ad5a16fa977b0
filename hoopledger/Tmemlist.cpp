#include "hoopledger/Tmemlist.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <QByteArray>

#include "platform/Codec.h"
#include "platform/Convert.h"

namespace hoopledger {

namespace {

struct NumberKey
{
    std::optional<int> value;
    QByteArray bytes;

    explicit NumberKey(const QString& number)
        : value(platform::StrToInt(number)), bytes(value ? QByteArray() : platform::Codec::toCp932(number))
    {
    }
};

int compareKeys(const NumberKey& a, const NumberKey& b)
{
    if (a.value && b.value)
        return *a.value < *b.value ? -1 : (*a.value > *b.value ? 1 : 0);
    if (a.value || b.value)
        return a.value ? -1 : 1;
    const int result = std::memcmp(a.bytes.constData(), b.bytes.constData(),
                                   size_t(std::min(a.bytes.size(), b.bytes.size())));
    if (result != 0)
        return result < 0 ? -1 : 1;
    return a.bytes.size() < b.bytes.size() ? -1 : (a.bytes.size() > b.bytes.size() ? 1 : 0);
}

} // namespace

int CompareNumbers(const QString& a, const QString& b)
{
    return compareKeys(NumberKey(a), NumberKey(b));
}

bool TMemList::SamePlayer(const TStatPlayer& a, const TStatPlayer& b)
{
    return a.name == b.name && a.number == b.number;
}

TStatPlayer* TMemList::keep(std::unique_ptr<TStatPlayer> player)
{
    TStatPlayer* entry = player.get();
    m_store.push_back(std::move(player));
    m_entries.push_back(entry);
    return entry;
}

TStatPlayer* TMemList::AddMember(std::unique_ptr<TStatPlayer> player)
{
    if (!player || FindMember(*player))
        return nullptr;
    return keep(std::move(player));
}

TStatPlayer* TMemList::AddMember(const TStatPlayer& player)
{
    if (FindMember(player))
        return nullptr;
    auto copy = std::make_unique<TStatPlayer>();
    copy->SetIdentity(player.number, player.name, kIdentityKind, player.starter, player.position);
    return keep(std::move(copy));
}

TStatPlayer* TMemList::FindMember(const TStatPlayer& player) const
{
    for (TStatPlayer* entry : m_entries) {
        if (SamePlayer(*entry, player))
            return entry;
    }
    return nullptr;
}

void TMemList::DeleteMember(const TStatPlayer& player)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&player](const TStatPlayer* entry) { return SamePlayer(*entry, player); });
    if (it != m_entries.end())
        m_entries.erase(it);
}

void TMemList::SetVisibleAll(std::uint8_t flag)
{
    for (TStatPlayer* entry : m_entries)
        entry->visible = flag;
}

void TMemList::Sort()
{
    // Keys once per sort: converting in the comparison would cost a conversion per comparison.
    std::vector<std::pair<NumberKey, TStatPlayer*>> keyed;
    keyed.reserve(m_entries.size());
    for (TStatPlayer* entry : m_entries)
        keyed.emplace_back(NumberKey(entry->number), entry);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return compareKeys(a.first, b.first) < 0; });
    for (size_t i = 0; i < keyed.size(); ++i)
        m_entries[i] = keyed[i].second;
}

} // namespace hoopledger
