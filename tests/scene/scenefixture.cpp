#include "scenefixture.h"

#include "store/settingsstore.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QSettings>
#include <QTest>

SceneFixture::SceneFixture(Model model)
{
    VirtualMouse::Config config;
    config.family = model.is560 ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
    mouse = &backend.addMouse(config);
    if (model.is560) {
        VirtualMouse::Memory memory = mouse->memory();
        memory.currentProfile = uint8_t(model.onBoardProfile);
        mouse->setMemory(memory);
    }
    setting(QStringLiteral("setting/apConfig.bin"), QStringLiteral("mouse/icType"),
            model.is560 ? QStringLiteral("560") : QStringLiteral("553-24"));
    setting(QStringLiteral("setting/apConfig.bin"), QStringLiteral("mouse/isGun"), model.isGun);
}

SceneFixture::~SceneFixture()
{
    widget.reset();
}

void SceneFixture::setting(const QString& file, const QString& key, const QVariant& value)
{
    QSettings s(modules.file(file), QSettings::IniFormat);
    if (value.isValid())
        s.setValue(key, value);
    else
        s.remove(key);
}

bool SceneFixture::start()
{
    Widget::Options options;
    options.backend = &backend;
    options.sleeper = &backend.sleeper();
    options.seams.modulesDir = modules.dir();
    options.seams.dialogs = &dialogs;
    options.seams.pointerSettings = &pointer;
    widget = std::make_unique<Widget>(options);
    widget->move(0, 0);
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget.get()))
        return false;
    widget->checkDevice();
    // initUI is queued: nothing of it has run yet.
    clearTrace();
    return QTest::qWaitFor([this] { return root()->property("isPownOn").toBool(); });
}

bool SceneFixture::finishStartup()
{
    view()->setBusy(0);
    return QTest::qWaitFor(
        [this] { return view()->isEnabled() && !item(QStringLiteral("powerOn"))->isVisible(); });
}

QQuickItem* SceneFixture::root() const
{
    return view()->rootObject();
}

namespace {
// Delegates of repeaters and views are items of the visual tree but no QObject children.
QQuickItem* findItem(QQuickItem* from, const QString& objectName)
{
    if (from->objectName() == objectName)
        return from;
    for (QQuickItem* child : from->childItems()) {
        if (QQuickItem* found = findItem(child, objectName))
            return found;
    }
    return nullptr;
}
} // namespace

QQuickItem* SceneFixture::item(const QString& objectName) const
{
    if (QQuickItem* found = findItem(root(), objectName))
        return found;
    return root()->findChild<QQuickItem*>(objectName);
}

QVariant SceneFixture::eval(const QString& expression) const
{
    // In the screen's scope: its pages by id, and the root's names through the context chain.
    QObject* scope = root()->property("screen").value<QObject*>();
    if (!scope)
        scope = root();
    QQmlExpression e(qmlContext(scope), scope, expression);
    const QVariant v = e.evaluate();
    if (e.hasError())
        qWarning("%s: %s", qPrintable(expression), qPrintable(e.error().toString()));
    return v;
}

QPoint SceneFixture::pointIn(QQuickItem* item, qreal x, qreal y) const
{
    return item->mapToScene(QPointF(x, y)).toPoint();
}

QPoint SceneFixture::centreOf(QQuickItem* item) const
{
    return pointIn(item, item->width() / 2, item->height() / 2);
}

void SceneFixture::click(const QString& objectName, Qt::MouseButton button)
{
    QQuickItem* target = item(objectName);
    QVERIFY2(target, qPrintable(objectName));
    clickAt(centreOf(target), button);
}

void SceneFixture::clickAt(const QPoint& point, Qt::MouseButton button)
{
    QTest::mouseMove(view(), point);
    QTest::mouseClick(view(), button, {}, point);
}

void SceneFixture::doubleClickAt(const QPoint& point)
{
    QTest::mouseMove(view(), point);
    QTest::mouseDClick(view(), Qt::LeftButton, {}, point);
}

void SceneFixture::hover(const QPoint& point)
{
    QTest::mouseMove(view(), point);
}

bool SceneFixture::waitForAnimation(QQuickItem* control)
{
    auto* animation = control->findChild<QObject*>(QStringLiteral("slideAnimation"));
    return animation &&
           QTest::qWaitFor([animation] { return !animation->property("running").toBool(); });
}

bool SceneFixture::chooseInDropDown(QQuickItem* dropDown, int row)
{
    if (!dropDown)
        return false;
    clickAt(pointIn(dropDown, dropDown->width() / 2, 12));
    if (!QTest::qWaitFor([dropDown] { return dropDown->property("isDrop").toBool(); })) {
        qWarning("%s did not open (view enabled: %d)", qPrintable(dropDown->objectName()),
                 int(view()->isEnabled()));
        return false;
    }
    if (!waitForAnimation(dropDown))
        return false;
    clickAt(pointIn(dropDown, 20, 24 + 24 * row + 12));
    if (!QTest::qWaitFor([dropDown] { return !dropDown->property("isDrop").toBool(); })) {
        qWarning("%s did not close on row %d", qPrintable(dropDown->objectName()), row);
        return false;
    }
    return waitForAnimation(dropDown);
}

QStringList SceneFixture::steps() const
{
    QStringList steps;
    for (const QString& line : backend.trace().lines(WireTrace::FeatureOut | WireTrace::Note)) {
        // "feature> 00 cc …": the command byte follows the report id.
        QString step;
        if (line.startsWith(QLatin1String("feature>")))
            step = line.section(u' ', 2, 2);
        else if (line.startsWith(QLatin1String("pointer ")))
            step = QStringLiteral("pointer");
        else
            continue;
        if (steps.isEmpty() || steps.last() != step)
            steps.append(step);
    }
    return steps;
}

QStringList SceneFixture::pointerNotes() const
{
    return backend.trace().lines(WireTrace::Note).filter(QStringLiteral("pointer "));
}

QVariant SceneFixture::profileValue(int slot, const QString& key) const
{
    QSettings* s = view()->store().profileSettings(slot);
    return s ? s->value(key) : QVariant();
}

void SceneFixture::sync() const
{
    view()->store().syncAll();
}

QStringList resendSteps553Gun()
{
    return {QStringLiteral("12"), QStringLiteral("01"), QStringLiteral("11"),
            QStringLiteral("0d"), QStringLiteral("10"), QStringLiteral("pointer"),
            QStringLiteral("02"), QStringLiteral("12")};
}
