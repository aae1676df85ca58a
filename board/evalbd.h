#pragma once

// cZR4470XEvalBd: the evaluation board and its ZR4470 chip as every window reaches them. It keeps the two
// register maps (pending: what the windows edit; written: what the chip was last given or answered), wraps
// the board firmware's commands, buffers the board's ports and lines, moves registers, the chip RAM and
// the board FIFO through the serial-bit and FIFO packets, detects the chip's silicon revision and raises
// the board events. It reaches the board only through BulkXfer of the USB object goEZUSB, by way of the
// firmware's commands (BoardFirmware). Where the lines sit is the table of board_lines.h, the serial wire
// words and packet loops are serial_packets.h, the FIFO's wire layouts fifo_wire.h, the register layouts
// register_layout.h and the revision detection silicon_revision.h; the object holds the state and the
// sequences that tie them together.
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
#include "board/board_firmware.h"
#include "board/board_lines.h"
#include "board/register_layout.h"
#include "board/register_maps.h"
#include "board/serial_packets.h"
#include "board/silicon_revision.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

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
    static constexpr int kRegisterCount = RegisterMaps::kRegisterCount;
    static constexpr int kRamWordBits = 32;
    static constexpr int kFifoMaxValues = 65536;
    static constexpr int kSxiMaxSamples = 8192;
    // The 40-bit identification register's answer on every revision.
    static inline const QString& kIdentificationPattern = siliconrev::kIdentificationPattern;

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
    bool VerboseErrors() const { return firmware_.VerboseErrors(); }
    void setVerboseErrors(bool verbose) { firmware_.setVerboseErrors(verbose); }
    // True while a register, RAM or FIFO transfer runs (the USB watch leaves the board alone then).
    bool TransferBusy() const { return busy_; }

    // ---- register map ----
    void InitRegMap(int16_t rev);
    void ResetRegMap(int32_t mode);
    // `sel` 0 is the pending map, any other value the written one; the RegMap forms name the map.
    QString GetRegMapValue(int16_t sel, int16_t addr) const
    {
        return GetRegMapValue(regMapOfSelector(sel), addr);
    }
    void SetRegMapValue(int16_t sel, int16_t addr, const QString& value)
    {
        SetRegMapValue(regMapOfSelector(sel), addr, value);
    }
    int16_t GetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit)
    {
        return GetRegMapBitValue(regMapOfSelector(sel), addr, bit);
    }
    void SetRegMapBitValue(int16_t sel, int16_t addr, int16_t bit, int32_t value)
    {
        SetRegMapBitValue(regMapOfSelector(sel), addr, bit, value);
    }
    QString GetRegMapValue(RegMap map, int16_t addr) const { return maps_.value(map, addr); }
    void SetRegMapValue(RegMap map, int16_t addr, const QString& value) { maps_.setValue(map, addr, value); }
    int16_t GetRegMapBitValue(RegMap map, int16_t addr, int16_t bit);
    void SetRegMapBitValue(RegMap map, int16_t addr, int16_t bit, int32_t value);
    int16_t GetRegLength(int16_t addr) const { return maps_.width(addr); }
    // Both maps and their layout, for register fields (register_field.h).
    RegisterMaps& regMaps() { return maps_; }
    const RegisterMaps& regMaps() const { return maps_; }
    // The width register `addr` has on a chip of silicon revision `rev` (1 and 2 share one layout, every
    // other revision has the revision 3 layout); 0 for an address outside the map.
    static int16_t RegLengthOn(int16_t rev, int16_t addr) { return reglayout::widthOn(rev, addr); }

    // ---- firmware commands ----
    QString GetFirmWareVersion() { return firmware_.GetFirmWareVersion(); }
    bool SetPortAValue(uint8_t value) { return firmware_.SetPortAValue(value); }
    uint8_t GetPortAValue() { return firmware_.GetPortAValue(); }
    void SetRdBackMode(bool on) { firmware_.SetRdBackMode(on); }
    bool SetCtlValues(uint8_t value) { return firmware_.SetCtlValues(value); }
    std::optional<uint8_t> GetCtlValues() { return firmware_.GetCtlValues(); } // empty on failure
    void SetRdBackByteCnt(int32_t words) { firmware_.SetRdBackByteCnt(words); }
    void ResetFirmware() { firmware_.ResetFirmware(); }
    uint8_t GetPortBValue() { return firmware_.GetPortBValue(); }
    bool SetPortBValue(uint8_t value) { return firmware_.SetPortBValue(value); }
    uint8_t GetPortDValue() { return firmware_.GetPortDValue(); }
    bool SetPortDValue(uint8_t value) { return firmware_.SetPortDValue(value); }
    int32_t SetHostID(int32_t id) { return firmware_.SetHostID(id); }
    bool SetLEDBlink(uint8_t value) { return firmware_.SetLEDBlink(value); }
    bool SetAutoCSBMode(uint8_t value) { return firmware_.SetAutoCSBMode(value); }
    bool SetAutoCSBMaskVal(uint8_t value) { return firmware_.SetAutoCSBMaskVal(value); }
    bool SetPortCValue(uint8_t value) { return firmware_.SetPortCValue(value); }
    uint8_t GetPortCValue() { return firmware_.GetPortCValue(); }
    bool SetPortEValue(uint8_t value) { return firmware_.SetPortEValue(value); }
    uint8_t GetPortEValue() { return firmware_.GetPortEValue(); }
    // Empty on failure (taken as full speed).
    std::optional<uint8_t> IsHighSpeed() { return firmware_.IsHighSpeed(); }
    uint8_t GetRDYValues() { return firmware_.readyLines().value_or(0); }
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
    std::optional<uint8_t> FetchPortValue(int16_t port) { return firmware_.fetchPort(port); }
    void InitIOBuffs();
    void StrobeReset();
    void StrobeREGUD();
    int16_t ActiveProfile();
    void setActiveProfile(int16_t profile);
    int16_t SelectedProfile() const;
    void setSelectedProfile(int16_t profile);

    // ---- board lines (board_lines.h) ----
    // The buffered level of a line (a fresh-read line: port B as last fetched, the ready lines 0).
    int16_t line(BoardLine which) const
    {
        const BoardLineEntry& entry = boardLine(which);
        return entry.port < kPortBufferCount ? lineLevel(portBuff_[entry.port], which) : int16_t{0};
    }
    // An output line's buffered bit, set for any non-zero value (send the port afterwards); the inputs'
    // sets do nothing.
    void setLine(BoardLine which, int32_t value)
    {
        const BoardLineEntry& entry = boardLine(which);
        if (entry.kind == LineKind::Output)
            portBuff_[entry.port] = withLineLevel(portBuff_[entry.port], which, value);
    }
    // The fresh-read lines read from the board now (0 when the read fails); the others their buffered level.
    int16_t fetchLine(BoardLine which);

    // ---- line properties: a set changes only the buffered bit (send the port afterwards) ----
    int16_t USBStatus() const { return line(BoardLine::USBStatus); }
    void setUSBStatus(int32_t v) { setLine(BoardLine::USBStatus, v); }
    int16_t CSB() const { return line(BoardLine::CSB); }
    void setCSB(int32_t v) { setLine(BoardLine::CSB, v); }
    int16_t IO_RESET() const { return line(BoardLine::IO_RESET); }
    void setIO_RESET(int32_t v) { setLine(BoardLine::IO_RESET, v); }
    int16_t Reset() const { return line(BoardLine::Reset); }
    void setReset(int32_t v) { setLine(BoardLine::Reset, v); }
    int16_t ExtPD() const { return line(BoardLine::ExtPD); }
    void setExtPD(int32_t v) { setLine(BoardLine::ExtPD, v); }
    int16_t ISFC() const { return line(BoardLine::ISFC); }
    void setISFC(int32_t v) { setLine(BoardLine::ISFC, v); }
    int16_t SCAN_EN() const { return line(BoardLine::SCAN_EN); }
    void setSCAN_EN(int32_t v) { setLine(BoardLine::SCAN_EN, v); }
    int16_t SCLK() const { return line(BoardLine::SCLK); }
    void setSCLK(int32_t v) { setLine(BoardLine::SCLK, v); }
    int16_t WCLK() const { return line(BoardLine::WCLK); }
    void setWCLK(int32_t v) { setLine(BoardLine::WCLK, v); }
    int16_t FIFO_LDB() const { return line(BoardLine::FIFO_LDB); }
    void setFIFO_LDB(int32_t v) { setLine(BoardLine::FIFO_LDB, v); }
    int16_t FIFO_WENB() const { return line(BoardLine::FIFO_WENB); }
    void setFIFO_WENB(int32_t v) { setLine(BoardLine::FIFO_WENB, v); }
    int16_t TXEnable() const { return line(BoardLine::TXEnable); }
    void setTXEnable(int32_t v) { setLine(BoardLine::TXEnable, v); }
    int16_t RTEnable() const { return line(BoardLine::RTEnable); }
    void setRTEnable(int32_t v) { setLine(BoardLine::RTEnable, v); }
    int16_t FIFO_RESET() const { return line(BoardLine::FIFO_RESET); }
    void setFIFO_RESET(int32_t v) { setLine(BoardLine::FIFO_RESET, v); }
    int16_t CPLD_RESET() const { return line(BoardLine::CPLD_RESET); }
    void setCPLD_RESET(int32_t v) { setLine(BoardLine::CPLD_RESET, v); }
    int16_t P0() const { return line(BoardLine::P0); }
    void setP0(int32_t v) { setLine(BoardLine::P0, v); }
    int16_t P1() const { return line(BoardLine::P1); }
    void setP1(int32_t v) { setLine(BoardLine::P1, v); }
    int16_t P2() const { return line(BoardLine::P2); }
    void setP2(int32_t v) { setLine(BoardLine::P2, v); }
    int16_t OSK() const { return line(BoardLine::OSK); }
    void setOSK(int32_t v) { setLine(BoardLine::OSK, v); }
    int16_t REGUD() const { return line(BoardLine::REGUD); }
    void setREGUD(int32_t v) { setLine(BoardLine::REGUD, v); }
    int16_t LSHOLD() const { return line(BoardLine::LSHOLD); }
    void setLSHOLD(int32_t v) { setLine(BoardLine::LSHOLD, v); }
    int16_t LSCTL() const { return line(BoardLine::LSCTL); }
    void setLSCTL(int32_t v) { setLine(BoardLine::LSCTL, v); }
    int16_t REGUD_EN() const { return line(BoardLine::REGUD_EN); }
    void setREGUD_EN(int32_t v) { setLine(BoardLine::REGUD_EN, v); }
    // Status inputs: the bits of port D as last fetched; their sets do nothing.
    int16_t LS_OVR() const { return line(BoardLine::LS_OVR); }
    void setLS_OVR(int32_t v) { setLine(BoardLine::LS_OVR, v); }
    int16_t RS_OVR() const { return line(BoardLine::RS_OVR); }
    void setRS_OVR(int32_t v) { setLine(BoardLine::RS_OVR, v); }
    int16_t SYNC_SMPL_ERR() const { return line(BoardLine::SYNC_SMPL_ERR); }
    void setSYNC_SMPL_ERR(int32_t v) { setLine(BoardLine::SYNC_SMPL_ERR, v); }
    int16_t PLL_Lock() const { return line(BoardLine::PLL_Lock); }
    void setPLL_Lock(int32_t v) { setLine(BoardLine::PLL_Lock, v); }
    int16_t CIC_OVERFL() const { return line(BoardLine::CIC_OVERFL); }
    void setCIC_OVERFL(int32_t v) { setLine(BoardLine::CIC_OVERFL, v); }
    // Fresh reads of the serial data pins and the FIFO ready lines (0 when the read fails); sets do nothing.
    int16_t SDIO() { return fetchLine(BoardLine::SDIO); }
    void setSDIO(int32_t v) { setLine(BoardLine::SDIO, v); }
    int16_t SDO() { return fetchLine(BoardLine::SDO); }
    void setSDO(int32_t v) { setLine(BoardLine::SDO, v); }
    int16_t FIFO_PAF() { return fetchLine(BoardLine::FIFO_PAF); }
    void setFIFO_PAF(int32_t v) { setLine(BoardLine::FIFO_PAF, v); }
    int16_t FIFO_PAE() { return fetchLine(BoardLine::FIFO_PAE); }
    void setFIFO_PAE(int32_t v) { setLine(BoardLine::FIFO_PAE, v); }

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
    int16_t USBReadSerialPKT16(std::span<uint8_t> buf) { return serialwire::readBackPacket(firmware_, buf); }
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
    // A read of one register in the present layout, the transfer guard already held.
    QString readRegister(int16_t addr, bool noStore);
    // The whole-RAM read; `reached` counts the words on the wire that arrived, failed transfer or not, in
    // the word order of `lsbFirst`.
    bool readRamWords(std::span<uint32_t> words, int& reached, bool& lsbFirst);
    void resetWatch();
    void ioResetPulse();
    bool progFIFOFlags(int32_t emptyOffset, int32_t fullOffset);
    bool finishFifoLoad(bool packetsOk);
    void refuseFifoLoad();
    void raise(const EvalBdEventRecord& record) const;

    BoardFirmware firmware_;
    int16_t productId_ = 1;
    int16_t siliconRev_ = 3;
    bool enabled_ = true;
    bool flashUSBStatus_ = true;
    int16_t lastResetLevel_ = 0;
    bool busy_ = false;
    std::array<int16_t, kPortBufferCount> portBuff_{};
    RegisterMaps maps_;
    EventTap eventTap_;
};

// The one board object of the program. Not owned: the main window creates and owns it and clears this
// reference before releasing it.
extern cZR4470XEvalBd* goEvalBd;
