#pragma once

#include "models/ILCDModel.h"

#include <string>

// The first operation (other than name) in which two models answer
// differently, or an empty text when they agree in all of them.
inline std::string firstDifference(const models::ILCDModel& a, const models::ILCDModel& b) {
    if (a.reservedFlag1() != b.reservedFlag1())
        return "reservedFlag1";
    if (a.reservedFlag2() != b.reservedFlag2())
        return "reservedFlag2";
    if (a.repairsEdidCopies() != b.repairsEdidCopies())
        return "repairsEdidCopies";
    if (a.restoresEdidFromTemplates() != b.restoresEdidFromTemplates())
        return "restoresEdidFromTemplates";
    if (a.edidSourceAddress() != b.edidSourceAddress())
        return "edidSourceAddress";
    if (a.edidCopyAddress() != b.edidCopyAddress())
        return "edidCopyAddress";
    if (a.secondEdidSourceAddress() != b.secondEdidSourceAddress())
        return "secondEdidSourceAddress";
    if (a.secondEdidCopyAddress() != b.secondEdidCopyAddress())
        return "secondEdidCopyAddress";
    if (a.templateAreaAddressA() != b.templateAreaAddressA())
        return "templateAreaAddressA";
    if (a.templateAreaAddressB() != b.templateAreaAddressB())
        return "templateAreaAddressB";
    if (a.edidTemplateA() != b.edidTemplateA())
        return "edidTemplateA";
    if (a.edidTemplateB() != b.edidTemplateB())
        return "edidTemplateB";
    return {};
}
