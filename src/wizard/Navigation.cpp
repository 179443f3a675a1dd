#include "wizard/Navigation.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "wizard/WizardFonts.h"
#include "wizard/WizardPictures.h"

namespace {

const QString kCaption = QStringLiteral("Caption");
const QString kStep = QStringLiteral("Step");
const QString kEnabled = QStringLiteral("Enabled");
const QString kActived = QStringLiteral("Actived");
const QString kNextVisible = QStringLiteral("NextVisible");

const QString kDefaultCaption = QStringLiteral("Navigation");
const QString kDefaultStep = QStringLiteral("0");
const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// Clicks land on the item itself, whichever part is under the pointer.
QLabel *makePart(QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

}  // namespace

Navigation::Navigation(QWidget *parent)
    : QWidget(parent), m_picBack(makePart(this)), m_picActive(makePart(this)), m_lblStep(makePart(this)),
      m_lblCaption(makePart(this)) {
    // Stacked bottom to top: background, highlight, step, caption, so the
    // caption stays readable over the highlight.
    m_picBack->setAutoFillBackground(true);
    QPalette pal = m_picBack->palette();
    pal.setColor(QPalette::Window, backColor());
    m_picBack->setPalette(pal);
    m_picActive->setScaledContents(true);

    QPalette white = m_lblCaption->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    m_lblCaption->setPalette(white);
    m_lblCaption->setFont(WizardFonts::stepFont());
    m_lblStep->setPalette(white);
    // The parts keep their look under a host's style sheet too.
    m_picBack->setStyleSheet(QStringLiteral("background-color: rgb(76, 132, 203);"));
    m_picActive->setStyleSheet(QStringLiteral("background: transparent;"));
    m_lblCaption->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_lblStep->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    // Tab focus only: a mouse click must not raise Click twice (once for the
    // focus and once for the click itself).
    followEnabled();
    resize(120, 32);
    layoutItem();
}

QWidget *Navigation::backgroundBox() const { return m_picBack; }

bool Navigation::highlightVisible() const { return !m_picActive->isHidden(); }

void Navigation::setCaption(const QString &caption) {
    m_caption = caption;
    emit propertyChanged(kCaption);
    layoutItem();
}

void Navigation::setStep(const QString &step) {
    m_step = step;
    emit propertyChanged(kStep);
    layoutItem();
}

void Navigation::setEnabledProperty(bool enabled) {
    m_enabled = enabled ? kTrue : kFalse;
    followEnabled();
    emit propertyChanged(kEnabled);
}

void Navigation::setActived(bool actived) {
    m_actived = actived;
    emit propertyChanged(kActived);
    m_picActive->setVisible(actived);
}

bool Navigation::parseEnabledText(const QString &text, bool *ok) {
    const QString t = text.trimmed();
    *ok = true;
    if (t.compare(kTrue, Qt::CaseInsensitive) == 0) return true;
    if (t.compare(kFalse, Qt::CaseInsensitive) == 0) return false;
    bool isNumber = false;
    const double n = t.toDouble(&isNumber);
    if (isNumber) return n != 0;
    *ok = false;
    return false;
}

QVariantMap Navigation::writeProperties() const {
    QVariantMap bag;
    if (m_caption != kDefaultCaption) bag.insert(kCaption, m_caption);
    if (m_enabled != kTrue) bag.insert(kEnabled, m_enabled);
    if (m_actived) bag.insert(kActived, m_actived);
    if (m_step != kDefaultStep) bag.insert(kStep, m_step);
    if (m_nextVisible != QVariant(false)) bag.insert(kNextVisible, m_nextVisible);
    return bag;
}

void Navigation::readProperties(const QVariantMap &bag) {
    m_caption = bag.value(kCaption, kDefaultCaption).toString();
    m_enabled = kTrue;
    if (bag.contains(kEnabled)) {
        bool ok = false;
        const bool on = parseEnabledText(bag.value(kEnabled).toString(), &ok);
        if (ok) m_enabled = on ? kTrue : kFalse;
    }
    m_actived = bag.value(kActived, false).toBool();
    m_step = bag.value(kStep, kDefaultStep).toString();
    m_nextVisible = bag.value(kNextVisible, false);
    m_picActive->setVisible(m_actived);
    followEnabled();
    layoutItem();
}

void Navigation::followEnabled() {
    // A disabled item takes no input: Tab passes it by instead of stopping
    // on a control that does nothing and shows nothing.
    setFocusPolicy(Enabled() ? Qt::TabFocus : Qt::NoFocus);
}

void Navigation::layoutItem() {
    const int w = width();
    const int h = height();
    m_lblCaption->setText(m_caption);
    m_picBack->setGeometry(0, 0, w, h);
    m_picActive->hide();

    m_lblCaption->adjustSize();
    m_lblCaption->move((w - m_lblCaption->width()) / 2, (h - m_lblCaption->height()) / 2);
    m_lblStep->setText(m_step);
    m_lblStep->adjustSize();
    m_lblStep->move((w - m_lblStep->width()) / 2, (h - m_lblStep->height()) / 2);
    m_lblStep->hide();

    m_picActive->setGeometry(0, 0, w, h);
    m_picActive->setPixmap(QPixmap::fromImage(WizardPictures::stepHighlight(QSize(w, h))));
}

void Navigation::resizeEvent(QResizeEvent *) { layoutItem(); }

void Navigation::mousePressEvent(QMouseEvent *event) { m_pressed = event->button() == Qt::LeftButton; }

void Navigation::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click && Enabled()) emit Click();
}

void Navigation::focusInEvent(QFocusEvent *) {
    if (!Enabled()) return;
    m_picActive->show();
    emit Click();
}

void Navigation::focusOutEvent(QFocusEvent *) {
    // A disabled item ignores the focus both ways, so its look stays put.
    if (!Enabled()) return;
    m_picActive->setVisible(m_actived);
}
