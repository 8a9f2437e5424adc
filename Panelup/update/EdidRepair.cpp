#include "update/EdidRepair.h"

#include "discovery/MonitorInventory.h"
#include "edid/Edid.h"
#include "scalar/ScalarQueries.h"
#include "update/EdidBackup.h"

#include <QDebug>

#include <algorithm>
#include <optional>
#include <utility>

namespace update {

namespace {

constexpr std::size_t kAreaSize = 256;
// Marks that tell a rebuilt area from the factory one.
constexpr std::size_t kMarkOffset = 12;
constexpr uint8_t kCopyMark = 21;
constexpr uint8_t kTemplateMark = 23;
// What a template takes over from the monitor's own EDID: the week and year
// of manufacture and the serial-number descriptor.
constexpr std::size_t kWeekYearOffset = 16;
constexpr std::size_t kWeekYearLength = 2;
constexpr std::size_t kSerialDescriptorOffset = 72;
constexpr std::size_t kSerialDescriptorLength = 18;

QString hexAddress(int address) {
    return QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
}

// The repair of one monitor's areas with its model's data.
class MonitorRepair {
public:
    MonitorRepair(scalar::ScalarQueries& queries, const EdidBackup& backup,
                  const models::ILCDModel& model, std::function<void(const QString&)> wrote)
        : queries_(queries), backup_(backup), model_(model),
          modelName_(QString::fromStdString(model.name())), wrote_(std::move(wrote)) {}

    void repairCopy(int sourceAddress, int copyAddress) {
        const auto copy = read(copyAddress);
        if (!copy || edid::validateEdid(*copy) != edid::EdidBlank)
            return;
        auto image = read(sourceAddress);
        if (!image || edid::validateEdid(*image) != edid::EdidValid) {
            qDebug() << "EDID repair:" << hexAddress(copyAddress)
                     << "is blank but its source has no valid EDID";
            return;
        }
        (*image)[kMarkOffset] = kCopyMark;
        edid::repairEdidChecksums(*image);
        write(copyAddress, *copy, *image);
    }

    void restoreTemplates() {
        const auto source = read(model_.edidSourceAddress());
        if (!source || edid::validateEdid(*source) != edid::EdidValid) {
            qDebug() << "EDID repair: no valid source EDID, templates not restored";
            return;
        }
        restoreTemplate(*source, model_.templateAreaAddressA(), model_.edidTemplateA());
        restoreTemplate(*source, model_.templateAreaAddressB(), model_.edidTemplateB());
    }

private:
    void restoreTemplate(const std::vector<uint8_t>& source, int areaAddress,
                         std::vector<uint8_t> image) {
        if (areaAddress < 0 || image.size() != kAreaSize ||
            edid::validateEdid(image) != edid::EdidValid)
            return;
        const auto area = read(areaAddress);
        if (!area || edid::validateEdid(*area) != edid::EdidBlank)
            return;
        image[kMarkOffset] = kTemplateMark;
        std::copy_n(source.begin() + kWeekYearOffset, kWeekYearLength,
                    image.begin() + kWeekYearOffset);
        std::copy_n(source.begin() + kSerialDescriptorOffset, kSerialDescriptorLength,
                    image.begin() + kSerialDescriptorOffset);
        edid::repairEdidChecksums(image);
        write(areaAddress, *area, image);
    }

    // Nothing for an absent area or one whose read gave up: a failed read
    // looks blank and would otherwise be overwritten.
    std::optional<std::vector<uint8_t>> read(int address) {
        if (address < 0)
            return std::nullopt;
        scalar::EdidAreaRead area = queries_.readEdidArea(address);
        if (!area.complete || area.bytes.size() != kAreaSize) {
            qDebug() << "EDID repair:" << hexAddress(address) << "could not be read, left alone";
            return std::nullopt;
        }
        return std::move(area.bytes);
    }

    void write(int address, const std::vector<uint8_t>& oldBytes,
               const std::vector<uint8_t>& newBytes) {
        if (!backup_.record(modelName_, address, oldBytes, newBytes)) {
            qWarning() << "EDID repair: no backup could be written to" << backup_.path() << "so"
                       << hexAddress(address) << "is left alone";
            return;
        }
        const bool written = queries_.writeEdidArea(address, newBytes);
        if (written)
            qDebug() << "EDID repair:" << modelName_ << hexAddress(address) << "rebuilt";
        else
            qWarning() << "EDID repair:" << modelName_ << "writing" << hexAddress(address)
                       << "failed";
        if (wrote_)
            wrote_(QStringLiteral("EDID area %1 of %2 %3")
                       .arg(hexAddress(address), modelName_,
                            written ? QStringLiteral("rebuilt") : QStringLiteral("write failed")));
    }

    scalar::ScalarQueries& queries_;
    const EdidBackup& backup_;
    const models::ILCDModel& model_;
    const QString modelName_;
    std::function<void(const QString&)> wrote_;
};

} // namespace

bool repairMonitorEdids(EdidRepairContext& context) {
    if (context.inventory.pairedCount <= 0)
        return false;
    const EdidBackup backup(context.backupFolder);
    bool identified = false;
    for (const discovery::MonitorRecord& monitor : context.inventory.monitors) {
        if (monitor.hubPaired == 0)
            continue;
        std::shared_ptr<models::ILCDModel> model;
        if (!models::findModel(context.modelList, monitor.edid.displayName,
                               monitor.edid.serialNumber, model))
            continue;
        identified = true;
        context.modelName = QString::fromStdString(model->name());
        qDebug() << "EDID repair: checking the areas of" << context.modelName;

        MonitorRepair repair(context.queries, backup, *model, context.wrote);
        if (model->repairsEdidCopies()) {
            repair.repairCopy(model->edidSourceAddress(), model->edidCopyAddress());
            repair.repairCopy(model->secondEdidSourceAddress(), model->secondEdidCopyAddress());
        }
        if (model->restoresEdidFromTemplates())
            repair.restoreTemplates();
    }
    return identified;
}

} // namespace update
