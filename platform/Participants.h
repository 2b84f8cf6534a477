#pragma once

#include <algorithm>
#include <vector>

namespace platform {

// The registered participants of one kind, in the order of their Order
// value; participants of one order keep the order in which they joined. A
// feature joins at start-up through a ScopedParticipation and leaves when
// that ends.
template <class Participant, class Order>
class Participants {
public:
    static void add(Participant& participant, Order order)
    {
        std::vector<Entry>& list = entries();
        const auto after = std::upper_bound(list.begin(), list.end(), order,
                                            [](Order o, const Entry& e) { return o < e.order; });
        list.insert(after, {&participant, order});
    }
    static void remove(Participant& participant)
    {
        std::erase_if(entries(), [&](const Entry& e) { return e.participant == &participant; });
    }
    // Runs step on each participant in order. A participant that joins or
    // leaves during the walk (a window a step closes) changes the next walk.
    template <class Step>
    static void forEach(Step&& step)
    {
        const std::vector<Entry> list = entries();
        for (const Entry& e : list)
            step(*e.participant);
    }

private:
    struct Entry {
        Participant* participant;
        Order order;
    };
    static std::vector<Entry>& entries()
    {
        static std::vector<Entry> list;
        return list;
    }
};

// Takes part for the lifetime of this object.
template <class Participant, class Order>
class ScopedParticipation {
public:
    ScopedParticipation(Participant& participant, Order order)
        : participant_(participant)
    {
        Participants<Participant, Order>::add(participant, order);
    }
    ~ScopedParticipation() { Participants<Participant, Order>::remove(participant_); }
    ScopedParticipation(const ScopedParticipation&) = delete;
    ScopedParticipation& operator=(const ScopedParticipation&) = delete;

private:
    Participant& participant_;
};

} // namespace platform
