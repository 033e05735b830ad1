#include "app/memory_budget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace {
// Where the machine's size cannot be learnt.
const std::uint64_t kFallbackLimit = 1ULL << 31;

std::uint64_t ResourceLimit(int resource) {
    struct rlimit limit;
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return UINT64_MAX;
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}
} // namespace

std::uint64_t MemoryBudget::DefaultLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    std::uint64_t machine = kFallbackLimit * 2;
    if (pages > 0 && pageSize > 0) {
        machine = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    }
    const std::uint64_t granted =
        std::min({machine, ResourceLimit(RLIMIT_AS), ResourceLimit(RLIMIT_DATA)});
    return granted / 2;
}

MemoryBudget& MemoryBudget::Process() {
    static MemoryBudget budget(DefaultLimit());
    return budget;
}

bool MemoryBudget::TryCharge(std::uint64_t bytes) {
    std::uint64_t used = m_inUse.load();
    do {
        if (bytes > Limit() || used > Limit() - bytes) {
            return false;
        }
    } while (!m_inUse.compare_exchange_weak(used, used + bytes));
    return true;
}

void MemoryBudget::Release(std::uint64_t bytes) {
    std::uint64_t used = m_inUse.load();
    while (!m_inUse.compare_exchange_weak(used, used - std::min(used, bytes))) {
    }
}

MemoryCharge::MemoryCharge(MemoryBudget& budget, std::uint64_t bytes) {
    if (budget.TryCharge(bytes)) {
        m_budget = &budget;
        m_bytes = bytes;
    }
}

MemoryCharge::MemoryCharge(MemoryCharge&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0)) {}

MemoryCharge& MemoryCharge::operator=(MemoryCharge&& other) noexcept {
    if (this != &other) {
        Reset();
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

MemoryCharge MemoryCharge::Adopt(MemoryBudget& budget, std::uint64_t bytes) {
    MemoryCharge charge;
    charge.m_budget = &budget;
    charge.m_bytes = bytes;
    return charge;
}

void MemoryCharge::Detach(std::uint64_t bytes) {
    m_bytes -= std::min(bytes, m_bytes);
}

void MemoryCharge::Reset() {
    if (m_budget != nullptr) {
        m_budget->Release(m_bytes);
        m_budget = nullptr;
        m_bytes = 0;
    }
}
