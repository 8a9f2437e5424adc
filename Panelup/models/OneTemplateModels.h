#pragma once

#include "models/ILCDModel.h"

#include <string>

namespace models {

// Models with one EDID template, restored into template area B.

class LM0510 final : public ILCDModel {
public:
    LM0510();
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return true; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return true; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x0C00; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return 0x0200; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return templateB_; }

private:
    std::string name_;
    std::vector<uint8_t> templateB_;
};

// The variant sold in China: an LM0510 in all but its name.
class LM0510_CN final : public ILCDModel {
public:
    LM0510_CN();
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return true; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return true; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x0C00; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return 0x0200; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return templateB_; }

private:
    std::string name_;
    std::vector<uint8_t> templateB_;
};

// Carries a template and its area, yet is left out of template restores.
class LM0520 final : public ILCDModel {
public:
    LM0520();
    std::string name() const override { return name_; }
    bool reservedFlag1() const override { return false; }
    bool reservedFlag2() const override { return true; }
    bool repairsEdidCopies() const override { return true; }
    bool restoresEdidFromTemplates() const override { return false; }
    int edidSourceAddress() const override { return 0x0500; }
    int edidCopyAddress() const override { return 0x0C00; }
    int secondEdidSourceAddress() const override { return -1; }
    int secondEdidCopyAddress() const override { return -1; }
    int templateAreaAddressA() const override { return -1; }
    int templateAreaAddressB() const override { return 0x0200; }
    std::vector<uint8_t> edidTemplateA() const override { return {}; }
    std::vector<uint8_t> edidTemplateB() const override { return templateB_; }

private:
    std::string name_;
    std::vector<uint8_t> templateB_;
};

} // namespace models
