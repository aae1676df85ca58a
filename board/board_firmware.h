#pragma once

// BoardFirmware: the evaluation board firmware's command set and bulk pipes, as the board object uses them.
// A command is one bulk write on the command pipe, of the length the firmware's command table gives it; its
// reply (when there is one, of the table's length) is read from the reply pipe only after the command went
// through. Every byte goes through BulkXfer of the USB object goEZUSB, on the selected board. A failed
// command shows its message only while VerboseErrors is on.
//
// Results follow the classic conventions: port sets true on success, port queries the byte or 0 on failure,
// the Variant-like queries (control lines, speed) nothing on failure.

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

class BoardFirmware {
public:
    bool VerboseErrors() const { return verboseErrors_; }
    void setVerboseErrors(bool verbose) { verboseErrors_ = verbose; }

    // ---- the pipes ----
    // One bulk transfer; true only when the whole buffer moved (a reply cut short leaves part of the buffer
    // unfilled, a packet cut short leaves the firmware or the chip in the middle of a command or cycle).
    bool receive(int pipe, uint8_t* data, int32_t length);
    bool send(int pipe, const uint8_t* data, int32_t length);

    // ---- commands ----
    QString GetFirmWareVersion();
    bool SetPortAValue(uint8_t value);
    uint8_t GetPortAValue();
    void SetRdBackMode(bool on);
    bool SetCtlValues(uint8_t value);
    std::optional<uint8_t> GetCtlValues();
    void SetRdBackByteCnt(int32_t words);
    void ResetFirmware();
    uint8_t GetPortBValue();
    bool SetPortBValue(uint8_t value);
    uint8_t GetPortDValue();
    bool SetPortDValue(uint8_t value);
    int32_t SetHostID(int32_t id);
    bool SetLEDBlink(uint8_t value);
    bool SetAutoCSBMode(uint8_t value);
    bool SetAutoCSBMaskVal(uint8_t value);
    bool SetPortCValue(uint8_t value);
    uint8_t GetPortCValue();
    bool SetPortEValue(uint8_t value);
    uint8_t GetPortEValue();
    std::optional<uint8_t> IsHighSpeed();
    // The FIFO ready lines (bit 0 almost full, bit 1 almost empty), nothing when the query fails.
    std::optional<uint8_t> readyLines();

    // ---- a port by its port-buffer index (D, A, CTL, B, C, E) ----
    // The byte the firmware answers for a port, nothing when the read fails or the index names no port.
    std::optional<uint8_t> fetchPort(int16_t port);

    // Serial bits per packet: 256 at USB high speed, 32 at full speed (also when the speed query fails).
    int packetBits();

private:
    bool bulk(int pipe, uint8_t* data, int32_t length);
    // False, without a byte sent, for a command of another length than the table's.
    bool sendCommand(std::initializer_list<uint8_t> bytes);
    bool command(std::initializer_list<uint8_t> bytes, const char* failureText);
    // `reply` takes the table's reply length of the command.
    bool query(std::initializer_list<uint8_t> bytes, std::span<uint8_t> reply, const char* failureText);
    std::optional<uint8_t> queryReply(std::initializer_list<uint8_t> bytes, const char* failureText);
    uint8_t queryByte(std::initializer_list<uint8_t> bytes, const char* failureText);
    bool queryAcknowledged(std::initializer_list<uint8_t> bytes, const char* failureText);
    void reportFailure(const char* text) const;

    bool verboseErrors_ = false;
};
