#pragma once

namespace orvix {

// An operation that lets pending events run (a busy cursor, a transfer, a
// collection) must not be re-entered by a click, a tab change or a close that
// those events carry. The main window implements the guard; operations hold
// a YieldingOperation for as long as they run.
class OperationGuard {
public:
    virtual ~OperationGuard() = default;
    virtual void BeginYieldingOperation() = 0;
    virtual void EndYieldingOperation() = 0;
};

class YieldingOperation {
public:
    explicit YieldingOperation(OperationGuard* guard) : m_guard(guard) {
        if (m_guard) m_guard->BeginYieldingOperation();
    }
    ~YieldingOperation() {
        if (m_guard) m_guard->EndYieldingOperation();
    }
    YieldingOperation(const YieldingOperation&) = delete;
    YieldingOperation& operator=(const YieldingOperation&) = delete;

private:
    OperationGuard* m_guard;
};

}  // namespace orvix
