#include "scan/text_case.h"

void toUpperInPlace(QString& text)
{
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        d[i] = upperUnit(d[i]);
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin).toString();
}
