#pragma once

#include "models/ILCDModel.h"

#include <string>

namespace models {

// Models without EDID templates: the repair pass only copies their primary
// EDID area into its copies.

class LM0410 final : public ILCDModel {
public:
    LM0410() : name_("LM0410") {}
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return false; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return -1; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return {}; }

private:
    std::string name_;
};

class LM0420 final : public ILCDModel {
public:
    LM0420() : name_("LM0420") {}
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return false; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return -1; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return {}; }

private:
    std::string name_;
};

class LM0420_4K final : public ILCDModel {
public:
    LM0420_4K() : name_("LM0420-4K") {}
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return false; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return -1; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return {}; }

private:
    std::string name_;
};

// Two pairs of source and copy areas.
class LM0430 final : public ILCDModel {
public:
    LM0430() : name_("LM0430") {}
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return true; }
    bool reservedFlag2() const override { return false; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x1000; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return 0x1100; }
    int secondEdidCopyAddress() const override { return 0x1300; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return -1; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return {}; }

private:
    std::string name_;
};

} // namespace models
