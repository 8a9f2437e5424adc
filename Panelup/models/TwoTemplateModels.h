#pragma once

#include "models/ILCDModel.h"

#include <string>

namespace models {

// Models with two pairs of copy areas and two EDID templates.

class LM0530 final : public ILCDModel {
public:
    LM0530();
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return true; }
    bool reservedFlag2() const override { return true; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return true; }
    int edidSourceAddress() const override { return 0x1000; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return 0x1100; }
    int secondEdidCopyAddress() const override { return 0x1300; }
    int templateAreaAddressA() const override { return 0x1900; }
    int templateAreaAddressB() const override { return 0x1A00; }
    std::vector<uint8_t> edidTemplateA() const override { return templateA_; }
    std::vector<uint8_t> edidTemplateB() const override { return templateB_; }

private:
    std::string name_;
    std::vector<uint8_t> templateA_;
    std::vector<uint8_t> templateB_;
};

// Has both copy-area pairs, yet is left out of copy repairs.
class LM0610 final : public ILCDModel {
public:
    LM0610();
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return true; }
    bool reservedFlag2() const override { return true; }
    bool repairsEdidCopies() const override { return false; }
    bool restoresEdidFromTemplates() const override { return true; }
    int edidSourceAddress() const override { return 0x1000; }
    int edidCopyAddress() const override { return 0x1200; }
    int secondEdidSourceAddress() const override { return 0x1100; }
    int secondEdidCopyAddress() const override { return 0x1300; }
    int templateAreaAddressA() const override { return 0x1900; }
    int templateAreaAddressB() const override { return 0x1A00; }
    std::vector<uint8_t> edidTemplateA() const override { return templateA_; }
    std::vector<uint8_t> edidTemplateB() const override { return templateB_; }

private:
    std::string name_;
    std::vector<uint8_t> templateA_;
    std::vector<uint8_t> templateB_;
};

} // namespace models
