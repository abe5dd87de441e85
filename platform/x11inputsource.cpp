#include "x11inputsource.h"

#include <QDebug>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kEvdevOffset = 8; // X key code = evdev code + 8

// Xlib's error handlers are process-wide. Ours keep errors on our own connections from ending the
// process and hand every other connection's errors to whoever was installed before.
std::vector<Display*>& ownDisplays()
{
    static std::vector<Display*> displays;
    return displays;
}
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIOErrorHandler = nullptr;

bool isOwn(Display* display)
{
    const auto& own = ownDisplays();
    return std::find(own.begin(), own.end(), display) != own.end();
}

int onError(Display* display, XErrorEvent* error)
{
    if (isOwn(display)) {
        qWarning() << "X error on the input connection, code" << int(error->error_code);
        return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

int onIOError(Display* display)
{
    if (isOwn(display))
        return 0; // the display's exit handler takes it from here
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

void adopt(Display* display)
{
    if (ownDisplays().empty()) {
        previousErrorHandler = XSetErrorHandler(onError);
        previousIOErrorHandler = XSetIOErrorHandler(onIOError);
    }
    ownDisplays().push_back(display);
}

void release(Display* display)
{
    auto& own = ownDisplays();
    own.erase(std::remove(own.begin(), own.end(), display), own.end());
    if (!own.empty())
        return;
    // Put the earlier handlers back unless someone replaced ours meanwhile.
    XErrorHandler current = XSetErrorHandler(previousErrorHandler);
    if (current != onError)
        XSetErrorHandler(current);
    XIOErrorHandler currentIO = XSetIOErrorHandler(previousIOErrorHandler);
    if (currentIO != onIOError)
        XSetIOErrorHandler(currentIO);
}

} // namespace

X11InputSource::X11InputSource(const QByteArray& displayName, QObject* parent)
    : QObject(parent), m_displayName(displayName)
{}

X11InputSource::~X11InputSource()
{
    uninstall();
}

bool X11InputSource::install(KeyboardProc keyboard, MouseProc mouse)
{
    uninstall();
    Display* display = XOpenDisplay(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
    if (!display)
        return false;
    adopt(display);
    // Without this Xlib would exit the process when the server goes away.
    XSetIOErrorExitHandler(display, &X11InputSource::exitHandler, this);
    m_display = display;
    m_broken = false;

    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &m_xiOpcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        qWarning() << "The X server has no XInput 2: no global input capture";
        uninstall();
        return false;
    }

    unsigned char bits[XIMaskLen(XI_RawButtonRelease)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);

    // Learn which modifiers are already held, so the first key after start sees them.
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (int evdev : {KEY_LEFTCTRL, KEY_RIGHTCTRL, KEY_LEFTALT, KEY_RIGHTALT}) {
        const int keycode = evdev + kEvdevOffset;
        m_keys.noteHeld(evdev, (keys[keycode / 8] >> (keycode % 8)) & 1);
    }
    XSync(display, False);
    if (m_broken) {
        uninstall();
        return false;
    }

    m_keyboard = std::move(keyboard);
    m_mouse = std::move(mouse);
    m_notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11InputSource::readEvents);
    // Events that arrived with the replies above are already queued and wake no notifier.
    QMetaObject::invokeMethod(this, &X11InputSource::readEvents, Qt::QueuedConnection);
    return true;
}

void X11InputSource::uninstall()
{
    m_keyboard = nullptr;
    m_mouse = nullptr;
    delete m_notifier;
    m_notifier = nullptr;
    if (!m_display)
        return;
    XCloseDisplay(m_display);
    release(m_display);
    m_display = nullptr;
}

void X11InputSource::exitHandler(_XDisplay*, void* self)
{
    // Called by Xlib when the connection broke; returning instead of exiting leaves the display
    // dead but safe to close.
    static_cast<X11InputSource*>(self)->m_broken = true;
}

void X11InputSource::readEvents()
{
    while (m_display && !m_broken && XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        handleEvent(event);
    }
    if (m_display && m_broken)
        loseConnection();
}

void X11InputSource::handleEvent(XEvent& event)
{
    XGenericEventCookie* cookie = &event.xcookie;
    if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode ||
        !XGetEventData(m_display, cookie))
        return;
    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
    const int type = cookie->evtype;
    const int detail = raw->detail;
    XFreeEventData(m_display, cookie);

    if (type == XI_RawKeyPress || type == XI_RawKeyRelease) {
        const std::optional<KeyboardHookRecord> record =
            m_keys.translate(detail - kEvdevOffset, type == XI_RawKeyPress);
        // A copy: the procedure may uninstall the source while it runs.
        if (KeyboardProc keyboard = m_keyboard; record && keyboard)
            keyboard(*record);
        return;
    }
    if (type != XI_RawButtonPress && type != XI_RawButtonRelease)
        return;
    const std::optional<uint32_t> message =
        mouseMessageForButton(detail, type == XI_RawButtonPress);
    if (!message || !m_mouse)
        return;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &rootX, &rootY,
                       &winX, &winY, &buttons) ||
        m_broken)
        return;
    if (MouseProc mouse = m_mouse)
        mouse(MouseHookRecord{hook::Action, *message, rootX, rootY});
}

void X11InputSource::loseConnection()
{
    qWarning() << "The X display went away: global input capture stops";
    uninstall();
    emit connectionLost();
}
