#include "usb_host.h"

#include <algorithm>

namespace usbtest {

using namespace usb;

Bits msbFirst(uint64_t value, int width)
{
    Bits bits(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) {
        bits[static_cast<size_t>(i)] = static_cast<uint8_t>((value >> (width - 1 - i)) & 1);
    }
    return bits;
}

uint64_t fromMsbFirst(const Bits& bits)
{
    uint64_t value = 0;
    for (uint8_t b : bits) {
        value = (value << 1) | (b & 1);
    }
    return value;
}

Bits reversed(Bits bits)
{
    std::reverse(bits.begin(), bits.end());
    return bits;
}

bool Host::transfer(int pipe, uint8_t* data, uint32_t length)
{
    const intptr_t handle = driver_.open(QStringLiteral("\\\\.\\") + device_);
    if (handle == kInvalidHandle) {
        return false;
    }
    uint8_t descriptor[kDeviceDescriptorBufferSize] = {};
    uint32_t got = 0;
    driver_.ioControl(handle, kRequestDeviceDescriptor, descriptor, sizeof descriptor, descriptor,
                      sizeof descriptor, got);
    uint8_t info[kPipeInfoSize] = {};
    if (!driver_.ioControl(handle, kRequestPipeInfo, info, sizeof info, info, sizeof info, got)) {
        driver_.close(handle);
        return false;
    }
    const uint32_t pipes = info[12] | (info[13] << 8) | (info[14] << 16) | (uint32_t{info[15]} << 24);
    if (static_cast<uint32_t>(pipe) >= pipes) {
        driver_.close(handle);
        return false;
    }
    const uint8_t endpoint = info[18 + 20 * pipe];
    const uint8_t pipeNumber[4] = {static_cast<uint8_t>(pipe), 0, 0, 0};
    const bool ok = driver_.ioControl(handle, endpoint < 0x81 ? kRequestBulkWrite : kRequestBulkRead,
                                      pipeNumber, 4, data, length, got);
    driver_.close(handle);
    return ok && got == length;
}

bool Host::send(std::initializer_list<uint8_t> command)
{
    std::vector<uint8_t> bytes(command);
    return transfer(0, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool Host::send(const QByteArray& command)
{
    QByteArray copy = command;
    return transfer(0, reinterpret_cast<uint8_t*>(copy.data()), static_cast<uint32_t>(copy.size()));
}

std::optional<QByteArray> Host::read(int pipe, uint32_t length)
{
    QByteArray reply(static_cast<qsizetype>(length), '\0');
    if (!transfer(pipe, reinterpret_cast<uint8_t*>(reply.data()), length)) {
        return std::nullopt;
    }
    return reply;
}

std::optional<QByteArray> Host::ask(std::initializer_list<uint8_t> command, uint32_t replyLength)
{
    if (!send(command)) {
        return std::nullopt;
    }
    return read(1, replyLength);
}

std::optional<uint8_t> Host::ask1(std::initializer_list<uint8_t> command)
{
    const auto reply = ask(command, 1);
    if (!reply) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(reply->at(0));
}

void Host::sendPortA(uint8_t value)
{
    portA = value;
    send({1, value});
}

void Host::sendPortE(uint8_t value)
{
    portE = value;
    send({20, value});
}

void Host::sendPortC(uint8_t value)
{
    portC = value;
    send({18, value});
}

void Host::ioUpdate()
{
    sendPortE(static_cast<uint8_t>(portE & ~0x10));
    sendPortE(static_cast<uint8_t>(portE | 0x10));
    sendPortE(static_cast<uint8_t>(portE & ~0x10));
}

void Host::ioResetPulse()
{
    sendPortA(static_cast<uint8_t>(portA | 0x04));
    sendPortA(static_cast<uint8_t>(portA & ~0x04));
}

void Host::resetPulse()
{
    sendPortA(static_cast<uint8_t>(portA | 0x08));
    sendPortA(static_cast<uint8_t>(portA & ~0x08));
}

int Host::packetWords()
{
    const auto speed = ask1({22});
    return speed && *speed != 0 ? 256 : 32;
}

void Host::initiate()
{
    ask1({16, 0});
    sendPortA(static_cast<uint8_t>(portA & ~0x02));
}

void Host::terminate()
{
    ask1({16, 1});
    sendPortA(static_cast<uint8_t>(portA | 0x02));
}

bool Host::sendBits(const Bits& bits)
{
    std::vector<uint8_t> words(bits.size() * 2, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        words[2 * i] = bits[i];
    }
    return transfer(3, words.data(), static_cast<uint32_t>(words.size()));
}

std::optional<Bits> Host::readBits(int count, uint8_t mask)
{
    send({7, static_cast<uint8_t>(count / 256), static_cast<uint8_t>(count % 256)});
    send({4, 1});
    send({4, 0});
    const auto words = read(5, static_cast<uint32_t>(2 * count));
    if (!words) {
        return std::nullopt;
    }
    Bits bits(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        bits[static_cast<size_t>(i)] = (static_cast<uint8_t>(words->at(2 * i)) & mask) != 0 ? 1 : 0;
    }
    return bits;
}

bool Host::writeRegister(int address, uint64_t value, int width)
{
    const int packet = packetWords();
    Bits instruction = msbFirst(static_cast<uint64_t>(address), 8);
    Bits data = msbFirst(value, width);
    if (lsbFirst) {
        instruction = reversed(instruction);
        data = reversed(data);
    }
    Bits stream = instruction;
    stream.insert(stream.end(), data.begin(), data.end());
    initiate();
    bool ok = true;
    for (size_t at = 0; at < stream.size() && ok; at += static_cast<size_t>(packet)) {
        const size_t n = std::min(static_cast<size_t>(packet), stream.size() - at);
        ok = sendBits(Bits(stream.begin() + static_cast<std::ptrdiff_t>(at),
                           stream.begin() + static_cast<std::ptrdiff_t>(at + n)));
    }
    terminate();
    if (ok && address == 0x00) {
        lsbFirst = (value & 1) != 0;
        threeWire = (value & 2) != 0;
    }
    return ok;
}

std::optional<QByteArray> Host::readRaw(int address, int width)
{
    Bits instruction = msbFirst(0x80u + static_cast<unsigned>(address), 8);
    if (lsbFirst) {
        instruction = reversed(instruction);
    }
    initiate();
    std::optional<QByteArray> raw;
    if (sendBits(instruction)) {
        send({7, static_cast<uint8_t>(width / 256), static_cast<uint8_t>(width % 256)});
        send({4, 1});
        send({4, 0});
        raw = read(5, static_cast<uint32_t>(2 * width));
    }
    terminate();
    return raw;
}

std::optional<uint64_t> Host::readRegister(int address, int width)
{
    const int packet = packetWords();
    const uint8_t mask = threeWire ? 0x02 : 0x01;
    Bits instruction = msbFirst(0x80u + static_cast<unsigned>(address), 8);
    if (lsbFirst) {
        instruction = reversed(instruction);
    }
    initiate();
    bool ok = sendBits(instruction);
    Bits collected;
    while (ok && static_cast<int>(collected.size()) < width) {
        const int n = std::min(packet, width - static_cast<int>(collected.size()));
        const auto bits = readBits(n, mask);
        ok = bits.has_value();
        if (ok) {
            collected.insert(collected.end(), bits->begin(), bits->end());
        }
    }
    terminate();
    if (!ok) {
        return std::nullopt;
    }
    return fromMsbFirst(lsbFirst ? reversed(collected) : collected);
}

bool Host::writeRam(const std::vector<uint32_t>& words)
{
    const int wpp = packetWords() / 32;
    Bits instruction = msbFirst(0x16, 8);
    if (lsbFirst) {
        instruction = reversed(instruction);
    }
    const int n = static_cast<int>(words.size());
    initiate();
    bool ok = sendBits(instruction);
    for (int done = 0; ok && done < n; done += wpp) {
        Bits packet;
        for (int k = done; k < std::min(n, done + wpp); ++k) {
            const int index = lsbFirst ? k : n - 1 - k;
            Bits word = msbFirst(words[static_cast<size_t>(index)], 32);
            if (lsbFirst) {
                word = reversed(word);
            }
            packet.insert(packet.end(), word.begin(), word.end());
        }
        ok = sendBits(packet);
    }
    terminate();
    return ok;
}

std::optional<std::vector<uint32_t>> Host::readRam(int count)
{
    const int wpp = packetWords() / 32;
    const uint8_t mask = threeWire ? 0x02 : 0x01;
    Bits instruction = msbFirst(0x96, 8);
    if (lsbFirst) {
        instruction = reversed(instruction);
    }
    std::vector<uint32_t> words(static_cast<size_t>(count), 0);
    initiate();
    bool ok = sendBits(instruction);
    for (int done = 0; ok && done < count; done += wpp) {
        const int inBlock = std::min(wpp, count - done);
        const auto bits = readBits(32 * inBlock, mask);
        ok = bits.has_value();
        for (int j = 0; ok && j < inBlock; ++j) {
            Bits word(bits->begin() + 32 * j, bits->begin() + 32 * (j + 1));
            if (lsbFirst) {
                word = reversed(word);
            }
            const int k = done + j;
            words[static_cast<size_t>(lsbFirst ? k : count - 1 - k)] =
                static_cast<uint32_t>(fromMsbFirst(word));
        }
    }
    terminate();
    if (!ok) {
        return std::nullopt;
    }
    return words;
}

void Host::resetFifo()
{
    sendPortC(static_cast<uint8_t>(portC & ~0x0C));
    sendPortC(static_cast<uint8_t>(portC | 0x20));
    sendPortC(static_cast<uint8_t>(portC & ~(0x20 | 0x02 | 0x01)));
    sendPortC(static_cast<uint8_t>(portC | 0x10));
    sendPortC(static_cast<uint8_t>(portC & ~0x10));
    sendPortC(static_cast<uint8_t>(portC | 0x01 | 0x02));
}

static std::vector<uint8_t> fifoBytes(const std::vector<uint32_t>& values)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(values.size() * 4);
    for (uint32_t v : values) {
        v &= 0x3FFFF;
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 1));
        bytes.push_back(static_cast<uint8_t>((v >> 9) & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 17) & 1));
    }
    return bytes;
}

void Host::programFifoFlags(uint32_t emptyOffset, uint32_t fullOffset)
{
    sendPortC(static_cast<uint8_t>(portC & ~0x01));
    writeFifoValues({emptyOffset, fullOffset});
    sendPortC(static_cast<uint8_t>(portC | 0x01));
}

bool Host::writeFifoValues(const std::vector<uint32_t>& values)
{
    ask1({16, 0});
    sendPortC(static_cast<uint8_t>(portC & ~0x02));
    std::vector<uint8_t> bytes = fifoBytes(values);
    const bool ok = transfer(3, bytes.data(), static_cast<uint32_t>(bytes.size()));
    sendPortC(static_cast<uint8_t>(portC | 0x02));
    ask1({16, 1});
    return ok;
}

} // namespace usbtest
