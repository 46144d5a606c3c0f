#include "support/FakePlatform.h"

#include <QApplication>

namespace woundwell::test {

MessageAnswer FakePlatform::showMessage(QWidget *parent, const QString &text, MessageIcon icon,
                                        MessageButtons buttons) {
    messages.append({text, icon, buttons, parent, QApplication::focusWidget()});
    if (onMessage)
        onMessage(messages.last());
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
}

void FakePlatform::openUrl(const QUrl &address) {
    opened.append(address);
}

QString FakePlatform::readSetting(const QString &section, const QString &key) {
    return settings.value(section + QLatin1Char('/') + key);
}

void FakePlatform::writeSetting(const QString &section, const QString &key, const QString &value) {
    settings.insert(section + QLatin1Char('/') + key, value);
    ++settingWrites;
}

float FakePlatform::nextRandom() {
    ++randomDraws;
    if (randomValues.empty())
        return 0.0f;
    const float r = randomValues.front();
    randomValues.pop_front();
    return r;
}

QStringList FakePlatform::messageTexts() const {
    QStringList texts;
    for (const Message &m : messages)
        texts.append(m.text);
    return texts;
}

QStringList FakePlatform::openedAddresses() const {
    QStringList addresses;
    for (const QUrl &url : opened)
        addresses.append(url.toString(QUrl::FullyEncoded));
    return addresses;
}

} // namespace woundwell::test
