// Hands a message to the running program through its copy-data channel.
//   meridax-mouse-send "text"              the program shows the text in a warning box
//   meridax-mouse-send --virtual "dpi 3"   the demo's virtual mouse: unplug, plug, dpi <n>,
//                                          report <hex>
#include "platform/copydata.h"
#include "platform/copydatachannel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Sends a message to a running meridax-mouse."));
    const QCommandLineOption program(
        QStringLiteral("program"),
        QStringLiteral("Path of the program (default: beside this tool)."), QStringLiteral("path"),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("meridax-mouse")));
    const QCommandLineOption virtualMouse(
        QStringLiteral("virtual"), QStringLiteral("A control message for the virtual mouse."));
    const QCommandLineOption tag(QStringLiteral("tag"), QStringLiteral("Any other tag."),
                                 QStringLiteral("number"));
    options.addOptions({program, virtualMouse, tag});
    options.addPositionalArgument(QStringLiteral("text"), QStringLiteral("The message."));
    options.addHelpOption();
    options.process(app);
    if (options.positionalArguments().size() != 1)
        options.showHelp(2);

    uint32_t t = options.isSet(virtualMouse) ? kCopyDataVirtualMouseTag : kCopyDataTextTag;
    if (options.isSet(tag))
        t = options.value(tag).toUInt();
    const QString server = CopyDataServer::serverNameFor(options.value(program));
    if (!sendCopyData(server, t, options.positionalArguments().first().toUtf8())) {
        QTextStream(stderr) << "meridax-mouse-send: nobody listens at " << server << "\n";
        return 1;
    }
    return 0;
}
