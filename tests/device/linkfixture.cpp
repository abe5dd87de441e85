#include "linkfixture.h"

QString featureLine(std::initializer_list<int> b0to6)
{
    QByteArray frame(1, '\0');
    int sum = 0;
    for (int b : b0to6) {
        frame.append(char(b));
        sum += b;
    }
    while (frame.size() < 8) {
        frame.append('\0');
    }
    frame.append(char(~sum & 0xFF));
    return QStringLiteral("feature> ") + WireTrace::hex(frame);
}
