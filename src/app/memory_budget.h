// The one memory budget of the process: every import, the frames the document keeps and the
// export's working set are charged to it before their memory is taken, so that many large
// files together end in a message instead of a process killed for want of memory.
#pragma once

#include <atomic>
#include <cstdint>

class MemoryBudget {
public:
    explicit MemoryBudget(std::uint64_t limit) : m_limit(limit) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    // The budget of this process: half of the machine's memory, or half of the address space
    // the process may take where that is less.
    static MemoryBudget& Process();
    // Half of the machine's memory, or of the process's address-space or data limit if lower.
    static std::uint64_t DefaultLimit();

    std::uint64_t Limit() const { return m_limit.load(); }
    void SetLimit(std::uint64_t limit) { m_limit.store(limit); }
    std::uint64_t InUse() const { return m_inUse.load(); }
    // Counts `bytes` in when they fit under the limit; false (and nothing counted) otherwise.
    bool TryCharge(std::uint64_t bytes);
    // Gives back bytes counted in by TryCharge; never below nothing in use.
    void Release(std::uint64_t bytes);

private:
    std::atomic<std::uint64_t> m_limit;
    std::atomic<std::uint64_t> m_inUse{0};
};

// Bytes charged to a budget for as long as the charge lives; moves but never copies.
class MemoryCharge {
public:
    MemoryCharge() = default;
    // Charges `bytes` to `budget`; check Held() for whether they fitted.
    MemoryCharge(MemoryBudget& budget, std::uint64_t bytes);
    MemoryCharge(MemoryCharge&& other) noexcept;
    MemoryCharge& operator=(MemoryCharge&& other) noexcept;
    ~MemoryCharge() { Reset(); }

    // Takes over `bytes` that were charged to `budget` already and handed on with Detach.
    static MemoryCharge Adopt(MemoryBudget& budget, std::uint64_t bytes);

    bool Held() const { return m_budget != nullptr; }
    std::uint64_t Bytes() const { return m_bytes; }
    // Hands on up to `bytes` of this charge, still counted, for someone to Adopt.
    void Detach(std::uint64_t bytes);
    // Gives the bytes back now.
    void Reset();

private:
    MemoryBudget* m_budget = nullptr;
    std::uint64_t m_bytes = 0;
};
