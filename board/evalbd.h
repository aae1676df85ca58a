#pragma once

// cZR4470XEvalBd: the evaluation board and its ZR4470 chip as every window reaches them. It keeps the two
// register maps (pending: what the windows edit; written: what the chip was last given or answered), wraps
// the board firmware's commands, buffers the board's ports and lines, moves registers, the chip RAM and
// the board FIFO through the serial-bit and FIFO packets, detects the chip's silicon revision and raises
// the board events. It reaches the board only through BulkXfer of the USB object goEZUSB.
//
// Results follow the classic conventions the windows test for: USBSerialLoadPKT 0 / -1, USBSerialReadPKT
// the bit string or "", RAM and FIFO transfers true on success, port queries the byte or 0 on failure,
// line getters and GetRegMapBitValue 1 or 0.
//
// Re-entry: a profile-register read waits 0.55 s with Pause, and the RAM and FIFO events run the main
// window's handlers between packets, so timers and user actions can run in the middle of a transfer. While
// one transfer runs (TransferBusy()), any other transfer is refused with its failure value; port commands
// stay allowed (the transfer event handlers drive the status lamp through them).

#include "board/board_event.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// Index of each port in the port buffer.
enum EvalBdPort : int16_t {
    kPortD = 0,   // status inputs
    kPortA = 1,   // chip control lines
    kPortCtl = 2, // serial clock and FIFO write clock
    kPortB = 3,   // serial data pins (read only)
    kPortC = 4,   // FIFO and board logic
    kPortE = 5,   // profile pins, OSK, I/O update, ramp lines
};

// One raised board event, as an event tap sees it. Kinds are in the events' declared order.
struct EvalBdEventRecord {
    enum Kind {
        RegMapReset,
        AfterRESET,
        RESETAsserted,
        RESETReleased,
        FIFOLoadBegin,
        FIFOPacketSent,
        FIFOLoadFinished,
        RAMCOMBegin,
        RAMPacketXfered,
        RAMCOMFinished,
    };
    Kind kind = RegMapReset;
    int32_t first = 0;  // mode, count, words or wordsDone
    int32_t second = 0; // perPacket or wpp
    bool flag = false;  // isRead or success
};

class cZR4470XEvalBd {
public:
    static constexpr int kRegisterCount = 32;
    static constexpr int kRamWordBits = 32;
    static constexpr int kFifoMaxValues = 65536;
    static constexpr int kSxiMaxSamples = 8192;
    // The 40-bit identification register's answer on every revision.
    static inline const QString kIdentificationPattern =
        QStringLiteral("0000000011000000000000000000000100000000");

    cZR4470XEvalBd();
    ~cZR4470XEvalBd();
    cZR4470XEvalBd(const cZR4470XEvalBd&) = delete;
    cZR4470XEvalBd& operator=(const cZR4470XEvalBd&) = delete;

    // ---- events, in declared order; raised synchronously on the caller's thread ----
    BoardEvent<int32_t> RegMapReset;                // mode
    BoardEvent<> AfterRESET;                        // the reset line was released
    BoardEvent<> RESETAsserted;                     // the reset line went high
    BoardEvent<> RESETReleased;                     // right after AfterRESET
    BoardEvent<int32_t, int16_t> FIFOLoadBegin;     // count, perPacket
    BoardEvent<int32_t> FIFOPacketSent;             // count
    BoardEvent<bool> FIFOLoadFinished;              // success
    BoardEvent<int32_t, int16_t, bool> RAMCOMBegin; // words, wpp, isRead
    BoardEvent<int32_t> RAMPacketXfered;            // wordsDone
    BoardEvent<bool> RAMCOMFinished;                // success

    // A second listener that sees every event just before its handler, whoever handles it (tests, logs).
    using EventTap = std::function<void(const EvalBdEventRecord&)>;
    void setEventTap(EventTap tap) { eventTap_ = std::move(tap); }

    // ---- object state ----
    int16_t SiliconRev() const { return siliconRev_; }
    void setSiliconRev(int16_t rev) { siliconRev_ = rev; }
    // 3 = silicon revision 3, 2 = revisions 1 or 2, 0 = no chip answered. Stores and returns the code.
    int16_t DetectSiliconRev();
    int16_t ProductID() const { return productId_; }
    void setProductID(int16_t) {}
    int16_t DetectProduct(int16_t rev);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool VerboseErrors() const { return verboseErrors_; }
    void setVerboseErrors(bool verbose) { verboseErrors_ = verbose; }
    // True while a register, RAM or FIFO transfer runs (the USB watch leaves the board alone then).
    bool TransferBusy() const { return busy_; }

    // ---- register map ----
    void InitRegMap(int16_t rev);
    void ResetRegMap(int32_t mode);
    QString GetRegMapValue(int16_t sel, int16_t addr) const;
    void SetRegMapValue(int16_t sel, int16_t addr, const QString& value);
    int16_t GetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit);
    void SetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit, int32_t value);
    int16_t GetRegLength(int16_t addr) const;
    // The width register `addr` has on a chip of silicon revision `rev` (1 and 2 share one layout, every
    // other revision has the revision 3 layout); 0 for an address outside the map.
    static int16_t RegLengthOn(int16_t rev, int16_t addr);

    // ---- firmware commands ----
    QString GetFirmWareVersion();
    bool SetPortAValue(uint8_t value);
    uint8_t GetPortAValue();
    void SetRdBackMode(bool on);
    bool SetCtlValues(uint8_t value);
    std::optional<uint8_t> GetCtlValues(); // empty on failure
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
    std::optional<uint8_t> IsHighSpeed(); // empty on failure (taken as full speed)
    uint8_t GetRDYValues();
    bool FlashUSBStatus();
    void setFlashUSBStatus(bool flash);

    // ---- port buffers ----
    int16_t USBGetPortBuffVal(int16_t port) const;
    void USBSetPortBuffVal(int16_t port, int32_t value);
    int16_t USBGetPortBuffBitVal(int16_t port, int16_t bit) const;
    void USBSetPortBuffBitVal(int16_t port, int16_t bit, int32_t value);
    void USBWritePortBuffVal(int16_t port, std::optional<int32_t> value = std::nullopt);
    void USBReadPortBuffVal(int16_t port);
    // The byte the firmware answers now for a port (D, A, CTL, B, C or E), nothing when the read failed or
    // the index names no port, so that a failed read is never taken as the lines. The buffer is untouched.
    std::optional<uint8_t> FetchPortValue(int16_t port);
    void InitIOBuffs();
    void StrobeReset();
    void StrobeREGUD();
    int16_t ActiveProfile();
    void setActiveProfile(int16_t profile);
    int16_t SelectedProfile() const;
    void setSelectedProfile(int16_t profile);

    // ---- line properties: a set changes only the buffered bit (send the port afterwards) ----
    int16_t USBStatus() const { return bufferBit(kPortA, 0); }
    void setUSBStatus(int32_t v) { setBufferBit(kPortA, 0, v); }
    int16_t CSB() const { return bufferBit(kPortA, 1); }
    void setCSB(int32_t v) { setBufferBit(kPortA, 1, v); }
    int16_t IO_RESET() const { return bufferBit(kPortA, 2); }
    void setIO_RESET(int32_t v) { setBufferBit(kPortA, 2, v); }
    int16_t Reset() const { return bufferBit(kPortA, 3); }
    void setReset(int32_t v) { setBufferBit(kPortA, 3, v); }
    int16_t ExtPD() const { return bufferBit(kPortA, 4); }
    void setExtPD(int32_t v) { setBufferBit(kPortA, 4, v); }
    int16_t ISFC() const { return bufferBit(kPortA, 5); }
    void setISFC(int32_t v) { setBufferBit(kPortA, 5, v); }
    int16_t SCAN_EN() const { return bufferBit(kPortA, 6); }
    void setSCAN_EN(int32_t v) { setBufferBit(kPortA, 6, v); }
    int16_t SCLK() const { return bufferBit(kPortCtl, 0); }
    void setSCLK(int32_t v) { setBufferBit(kPortCtl, 0, v); }
    int16_t WCLK() const { return bufferBit(kPortCtl, 1); }
    void setWCLK(int32_t v) { setBufferBit(kPortCtl, 1, v); }
    int16_t FIFO_LDB() const { return bufferBit(kPortC, 0); }
    void setFIFO_LDB(int32_t v) { setBufferBit(kPortC, 0, v); }
    int16_t FIFO_WENB() const { return bufferBit(kPortC, 1); }
    void setFIFO_WENB(int32_t v) { setBufferBit(kPortC, 1, v); }
    int16_t TXEnable() const { return bufferBit(kPortC, 2); }
    void setTXEnable(int32_t v) { setBufferBit(kPortC, 2, v); }
    int16_t RTEnable() const { return bufferBit(kPortC, 3); }
    void setRTEnable(int32_t v) { setBufferBit(kPortC, 3, v); }
    int16_t FIFO_RESET() const { return bufferBit(kPortC, 4); }
    void setFIFO_RESET(int32_t v) { setBufferBit(kPortC, 4, v); }
    int16_t CPLD_RESET() const { return bufferBit(kPortC, 5); }
    void setCPLD_RESET(int32_t v) { setBufferBit(kPortC, 5, v); }
    int16_t P0() const { return bufferBit(kPortE, 0); }
    void setP0(int32_t v) { setBufferBit(kPortE, 0, v); }
    int16_t P1() const { return bufferBit(kPortE, 1); }
    void setP1(int32_t v) { setBufferBit(kPortE, 1, v); }
    int16_t P2() const { return bufferBit(kPortE, 2); }
    void setP2(int32_t v) { setBufferBit(kPortE, 2, v); }
    int16_t OSK() const { return bufferBit(kPortE, 3); }
    void setOSK(int32_t v) { setBufferBit(kPortE, 3, v); }
    int16_t REGUD() const { return bufferBit(kPortE, 4); }
    void setREGUD(int32_t v) { setBufferBit(kPortE, 4, v); }
    int16_t LSHOLD() const { return bufferBit(kPortE, 5); }
    void setLSHOLD(int32_t v) { setBufferBit(kPortE, 5, v); }
    int16_t LSCTL() const { return bufferBit(kPortE, 6); }
    void setLSCTL(int32_t v) { setBufferBit(kPortE, 6, v); }
    int16_t REGUD_EN() const { return bufferBit(kPortE, 7); }
    void setREGUD_EN(int32_t v) { setBufferBit(kPortE, 7, v); }
    // Status inputs: the bits of port D as last fetched; their sets do nothing.
    int16_t LS_OVR() const { return bufferBit(kPortD, 3); }
    void setLS_OVR(int32_t) {}
    int16_t RS_OVR() const { return bufferBit(kPortD, 4); }
    void setRS_OVR(int32_t) {}
    int16_t SYNC_SMPL_ERR() const { return bufferBit(kPortD, 5); }
    void setSYNC_SMPL_ERR(int32_t) {}
    int16_t PLL_Lock() const { return bufferBit(kPortD, 6); }
    void setPLL_Lock(int32_t) {}
    int16_t CIC_OVERFL() const { return bufferBit(kPortD, 7); }
    void setCIC_OVERFL(int32_t) {}
    // Fresh reads of the serial data pins and the FIFO ready lines (0 when the read fails); sets do nothing.
    int16_t SDIO();
    void setSDIO(int32_t) {}
    int16_t SDO();
    void setSDO(int32_t) {}
    int16_t FIFO_PAF();
    void setFIFO_PAF(int32_t) {}
    int16_t FIFO_PAE();
    void setFIFO_PAE(int32_t) {}

    // ---- serial register transfers ----
    QString BuildInstruct(bool read, int16_t addr, int16_t count) const;
    // 0 on success, -1 on failure. A value must be exactly the register's width of "0"/"1" characters;
    // anything else is refused (-1) before any traffic. 0 without traffic while not Enabled.
    int16_t USBSerialLoadPKT(int16_t addr, const QString& value, bool noStore = false);
    // The register's bits, most significant first, or "" on failure.
    QString USBSerialReadPKT(int16_t addr, bool noStore = false);
    void USBInitiateSerialLoad();
    void USBInitiateSerialRead() { USBInitiateSerialLoad(); }
    void USBTerminateSerialLoad();
    void USBTerminateSerialRead() { USBTerminateSerialLoad(); }
    // One bit value (0/1) per element, sent as 16-bit wire words in one bulk write: 0 or -1.
    int16_t USBWriteSerialPkt16(std::span<const uint8_t> bits);
    // Reads buf.size() wire words and leaves each word's low byte in buf: 0, -2 on a failed read,
    // -1 without traffic for more than 256 words.
    int16_t USBReadSerialPKT16(std::span<uint8_t> buf);
    // A write without chip-select handling (the firmware frames it): 0 or -1; stores only on success.
    int16_t USBSerialLoad16(int16_t addr, const QString& value, bool noStore = false);
    bool SPI_LSB_First() const;
    void setSPI_LSB_First(bool lsbFirst);
    int16_t SPI_IOMode() const;
    void setSPI_IOMode(int32_t mode);

    // ---- RAM and FIFO ----
    // Every word must be 32 "0"/"1" characters; index k is RAM address k of the governing segment order.
    bool USBSerialLoadRAM(const QStringList& words);
    // Reads words.size() words into the array; words the transfer did not reach keep their strings.
    bool USBSerialReadRAM(QStringList& words);
    // The same transfers with the words as numbers (bit 31 is the string's first character): the same
    // traffic and events, without a text per word.
    bool USBSerialLoadRAM(std::span<const uint32_t> words);
    bool USBSerialReadRAM(std::span<uint32_t> words);
    bool USBLoadFIFOData(std::span<const int32_t> data);
    bool USBLoadFifoDataSXI(std::span<const int32_t> data, bool reverseBits, bool offsetBinary);
    bool USBProgFIFOFlags(int32_t emptyOffset, int32_t fullOffset);
    bool USBDetectFIFO();
    void USBResetFIFO();
    void USBInitiateFIFOLoad();
    void USBTerminateFIFOLoad();
    bool USBWriteFIFOPacket(std::span<const int32_t> values);
    bool USBWri5093DataPort(int32_t value);

private:
    class BusyScope;

    // transport
    bool transfer(int pipe, uint8_t* data, int32_t length);
    bool sendOut(int pipe, const uint8_t* data, int32_t length);
    bool command(std::initializer_list<uint8_t> bytes, const char* failureText);
    bool query(std::initializer_list<uint8_t> bytes, uint8_t* reply, int32_t replyLength,
               const char* failureText);
    // A one-byte reply: the byte, or nothing when the command fails.
    std::optional<uint8_t> queryReply(std::initializer_list<uint8_t> bytes, const char* failureText);
    // A one-byte reply: the byte, or 0 when the command fails.
    uint8_t queryByte(std::initializer_list<uint8_t> bytes, const char* failureText);
    // A one-byte acknowledgement: true when the command went through and the reply is not 0.
    bool queryAcknowledged(std::initializer_list<uint8_t> bytes, const char* failureText);
    void reportFailure(const char* text) const;
    std::optional<uint8_t> readReadyLines();
    int packetBits();

    // ports
    int16_t bufferBit(int port, int bit) const { return static_cast<int16_t>((portBuff_[port] >> bit) & 1); }
    void setBufferBit(int port, int bit, int32_t value);
    void resetWatch();
    void ioResetPulse();

    // serial
    bool readSerialBits(int count, int chunk, uint8_t mask, QChar* out);
    // The whole-RAM read; `reached` counts the words on the wire that arrived, failed transfer or not, in
    // the word order of `lsbFirst`.
    bool readRamWords(std::span<uint32_t> words, int& reached, bool& lsbFirst);
    QString readRegister(int16_t addr, bool noStore);
    int16_t detectRevision();

    // FIFO
    bool progFIFOFlags(int32_t emptyOffset, int32_t fullOffset);
    bool finishFifoLoad(bool packetsOk);
    void refuseFifoLoad();

    // events
    void raise(const EvalBdEventRecord& record) const;

    int16_t productId_ = 1;
    int16_t siliconRev_ = 3;
    bool enabled_ = true;
    bool verboseErrors_ = false;
    bool flashUSBStatus_ = true;
    int16_t lastResetLevel_ = 0;
    bool busy_ = false;
    std::array<int16_t, 6> portBuff_{};
    std::array<int16_t, kRegisterCount> regLengthTable_{};
    std::array<QString, kRegisterCount> regDefaultTable_;
    std::array<QString, kRegisterCount> pendingRegMap_;
    std::array<QString, kRegisterCount> writtenRegMap_;
    EventTap eventTap_;
};

// The one board object of the program. Not owned: the main window creates and owns it and clears this
// reference before releasing it.
extern cZR4470XEvalBd* goEvalBd;
