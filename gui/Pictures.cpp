#include "gui/Pictures.h"

#include "gui/Units.h"
#include "platform/forms/ImageList.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <map>

namespace gui {
namespace {

QIcon LetterTile(const std::string& key)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(70, 110, 170));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, ToQ(key).left(1).toUpper());
    return QIcon(pixmap);
}

} // namespace

QIcon IconForKey(const std::string& key)
{
    static const std::map<std::string, QStyle::StandardPixmap> kStandard = {
        {"select", QStyle::SP_DirOpenIcon},         {"saveas", QStyle::SP_DialogSaveButton},
        {"sendreport", QStyle::SP_ArrowForward},    {"print", QStyle::SP_FileDialogDetailedView},
        {"setview", QStyle::SP_FileDialogListView}, {"refresh", QStyle::SP_BrowserReload},
        {"info", QStyle::SP_MessageBoxInformation}, {"helpbtn", QStyle::SP_DialogHelpButton},
        {"support", QStyle::SP_MessageBoxQuestion}, {"openreport", QStyle::SP_FileIcon},
    };
    const auto known = kStandard.find(ToQ(key).toLower().toStdString());
    if (known != kStandard.end() && QApplication::style() != nullptr) {
        QIcon icon = QApplication::style()->standardIcon(known->second);
        if (!icon.isNull())
            return icon;
    }
    return LetterTile(key);
}

QIcon IconOf(const platform::runtime::Object* picture)
{
    if (const auto* image = dynamic_cast<const platform::forms::ListImage*>(picture))
        return IconForKey(image->Key());
    return {};
}

} // namespace gui
