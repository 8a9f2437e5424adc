#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace models {

// One supported monitor model: its name and the data of the EDID repair
// pass. Made only by the model factory with std::make_shared of the concrete
// class and shared as std::shared_ptr<ILCDModel>; immutable.
class ILCDModel {
public:
    virtual std::string name() const = 0;
    virtual bool reservedFlag1() const = 0;
    virtual bool reservedFlag2() const = 0;
    virtual bool repairsEdidCopies() const = 0;
    virtual bool restoresEdidFromTemplates() const = 0;
    virtual int edidSourceAddress() const = 0;
    virtual int edidCopyAddress() const = 0;
    virtual int secondEdidSourceAddress() const = 0;
    virtual int secondEdidCopyAddress() const = 0;
    virtual int templateAreaAddressA() const = 0;
    virtual int templateAreaAddressB() const = 0;
    virtual std::vector<uint8_t> edidTemplateA() const = 0;
    virtual std::vector<uint8_t> edidTemplateB() const = 0;

protected:
    // Not virtual: objects die through the shared pointer made for their
    // own class, never through this interface.
    ~ILCDModel() = default;
};

} // namespace models
