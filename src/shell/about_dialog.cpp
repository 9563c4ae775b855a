#include "shell/about_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "shell/artwork.h"
#include "shell/context_help.h"

namespace tarn {

QString versionLine() {
#ifdef TARN_FILE_VERSION
    return QString("Version %1").arg(TARN_FILE_VERSION);
#else
    return "v 3.0";
#endif
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), version_(new QLabel("v 3.0", this)) {
    setWindowTitle("About");
    setHelpTopic(this, "help-menu");
    auto* picture = new QLabel(this);
    picture->setPixmap(aboutPicture());
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);

    auto* product = new QGroupBox(this);
    auto* productLines = new QVBoxLayout(product);
    auto* name = new QLabel("<b>Tarn DataBase</b>", product);
    productLines->addWidget(name);
    productLines->addWidget(
        new QLabel("Client database and programmer\nfor Tarn HF SSB transceivers", product));
    productLines->addWidget(new QLabel("Tarn Radio Communications", product));
    productLines->addWidget(new QLabel("www.tarn-radio.example", product));
    version_->setText(versionLine());
    productLines->addWidget(version_);

    auto* writer = new QGroupBox("Written by", this);
    auto* writerLines = new QVBoxLayout(writer);
    writerLines->addWidget(new QLabel("The Tarn DataBase developers\n2024 - 2026", writer));

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(writer, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return accept();
    QDialog::keyPressEvent(event);  // Escape
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        // Posted, as a click's command is: the dialog closes once the click is handled.
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
        return;
    }
    QDialog::mousePressEvent(event);
}

void showAboutDialog(QWidget* parent) {
    AboutDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
