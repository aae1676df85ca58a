#pragma once

// Marks the board busy for one transfer. A transfer that starts while another one runs (from a timer or a
// user action during a wait, or from an event handler) does not acquire the guard and is refused.

class TransferGuard {
public:
    explicit TransferGuard(bool& busy) : busy_(busy), acquired_(!busy)
    {
        if (acquired_)
            busy_ = true;
    }
    ~TransferGuard()
    {
        if (acquired_)
            busy_ = false;
    }
    TransferGuard(const TransferGuard&) = delete;
    TransferGuard& operator=(const TransferGuard&) = delete;
    bool acquired() const { return acquired_; }

private:
    bool& busy_;
    bool acquired_;
};
