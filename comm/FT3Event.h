#pragma once
// Records of a controller's event archive decoded into event objects.
//
// Long record (20 octets): 0 code, 1 attribute, 2-3 channel (low octet first), 4-10 CP56Time2a
// time, 10-13 a four-octet value (sharing octet 10 with the time), 11-12 a 16-bit value (low
// first), 13 a one-octet value, 14-19 six data octets.
// Short record (8 octets): 0 code, 1 attribute in bits 6-7, 2-3 channel, 4-7 four data octets;
// it carries no time, so the event takes the moment it is decoded.
#include "base/DateTime.h"
#include "comm/FT3EventNames.h"
#include "comm/FT3Frame.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The record lengths: 20 and 8.
int LongEventLen();
int ShortEventLen();

// One event. A record too short for its form at the position raises EShareFT3Exception
// ("Нет данных для формирования события"); nothing outside the buffer is read.
class TEventFT3 {
public:
    TEventFT3(const DynByteArray& buffer, uint8_t position, bool isLong);
    virtual ~TEventFT3() = default;

    bool IsLong = false;
    uint8_t Code = 0;
    uint8_t Attribute = 0;
    uint16_t Channel = 0;
    TDateTime Time = 0;                    // 0 when the record's time is not a valid date
    uint8_t Value8 = 0;                    // octet 13; 0 in the short form
    std::array<uint8_t, 6> Data {};        // octets 14-19, or octets 4-7 in the short form
    std::array<uint8_t, 4> Value32 {};     // octets 10-13; zeros in the short form
    uint16_t Value16 = 0;                  // octets 11-12; 0 in the short form
};

// Creates the event of the class that the code octet at the position selects and fills it from
// the record there; with freeBuffer the buffer is emptied once the event is made (a failure
// leaves it as it was). The caller owns the event.
std::unique_ptr<TEventFT3> GetEvntDT(DynByteArray& buffer, uint8_t position, bool freeBuffer,
                                     bool isLong);

// The class tree. The groups add nothing but their place in it.
class TEvSystem : public TEventFT3 { public: using TEventFT3::TEventFT3; };
class TEvTC128 : public TEventFT3 { public: using TEventFT3::TEventFT3; };
class TEvLongPack : public TEventFT3 { public: using TEventFT3::TEventFT3; };
class TEvOneTIT : public TEventFT3 { public: using TEventFT3::TEventFT3; };

// Restart. Param is record octet 12 less one (0 for a short record, which has no octet 12).
class TEv00 : public TEvSystem {
public:
    TEv00(const DynByteArray& buffer, uint8_t position, bool isLong);
    uint8_t Param = 0;
};

// Clock setting. Param is record octet 12 less one and Param2 record octet 11 (both 0 for a
// short record); its data are seen with seven places, the seventh always 0.
class TEv09 : public TEvSystem {
public:
    TEv09(const DynByteArray& buffer, uint8_t position, bool isLong);
    uint8_t Param = 0;
    uint8_t Param2 = 0;
    std::array<uint8_t, 7> Data7 {};
};

class TEv01 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv02 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv03 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv04 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv05 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv06 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv07 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv08 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv10 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv11 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv12 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv13 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv18 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv28 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv29 : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEvNotAcive : public TEvSystem { public: using TEvSystem::TEvSystem; };
class TEv184 : public TEvSystem { public: using TEvSystem::TEvSystem; };

class TEv32 : public TEvTC128 { public: using TEvTC128::TEvTC128; };
class TEv129 : public TEvTC128 { public: using TEvTC128::TEvTC128; };

// The slices of many channels at once come only as long records: asked for the short form they
// raise EShareFT3Exception before reading anything.
class TEvTII136 : public TEvLongPack {
public:
    TEvTII136(const DynByteArray& buffer, uint8_t position, bool isLong);
};
class TEv161 : public TEvLongPack {
public:
    TEv161(const DynByteArray& buffer, uint8_t position, bool isLong);
};
class TEv176 : public TEvLongPack { public: using TEvLongPack::TEvLongPack; };

class TEvTII141 : public TEvTII136 { public: using TEvTII136::TEvTII136; };
class TEvTII143 : public TEvTII136 { public: using TEvTII136::TEvTII136; };
class TEvTIT159 : public TEvTII136 { public: using TEvTII136::TEvTII136; };
class TEvSEVCD : public TEvTII136 { public: using TEvTII136::TEvTII136; };
class TEvBMRZ : public TEvTII136 { public: using TEvTII136::TEvTII136; };
class TEv192 : public TEvSEVCD { public: using TEvSEVCD::TEvSEVCD; };
class TEv193 : public TEvSEVCD { public: using TEvSEVCD::TEvSEVCD; };
class TEv194 : public TEvSEVCD { public: using TEvSEVCD::TEvSEVCD; };
class TEv195 : public TEvSEVCD { public: using TEvSEVCD::TEvSEVCD; };
class TEv196 : public TEvSEVCD { public: using TEvSEVCD::TEvSEVCD; };
class TEv197 : public TEvBMRZ { public: using TEvBMRZ::TEvBMRZ; };
class TEv198 : public TEvBMRZ { public: using TEvBMRZ::TEvBMRZ; };

class TEvTII137 : public TEventFT3 { public: using TEventFT3::TEventFT3; };
class TEv178 : public TEventFT3 { public: using TEventFT3::TEventFT3; };
class TEv179 : public TEventFT3 { public: using TEventFT3::TEventFT3; };

class TEvTIT144 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT145 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT146 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT147 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT148 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT149 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT150 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT151 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT152 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT153 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT154 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT155 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT156 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT157 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT158 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };
class TEvTIT163 : public TEvOneTIT { public: using TEvOneTIT::TEvOneTIT; };

// A control command carried out (169) or received (168), described from its data octets.
class TEvTU169 : public TEventFT3 {
public:
    using TEventFT3::TEventFT3;
    // "Процедура <command>, Канал= <channel>", the remote output when one is named, and for a
    // carried-out command whether it failed, whether it failed during the command, and the output.
    virtual void Description(std::string& text) const;
    // " Вкл", "Откл", " Акт" or the command octet in hexadecimal.
    void CommandName(std::string& text) const;

protected:
    // The text common to both codes (everything but the outcome of a carried-out command).
    void CommandDescription(std::string& text) const;
};

class TEvTU168 : public TEvTU169 {
public:
    using TEvTU169::TEvTU169;
    void Description(std::string& text) const override;
};
