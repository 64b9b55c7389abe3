#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Notepad files as WordPad writes them: text as bytes of the code page that the font's \fcharset (or the
// document's \ansicpg) names, no \u escapes, double-byte letters as \'hh\'hh pairs whose ASCII trail bytes may
// stand as plain characters, and a final \par.
struct TWordPadFixture
{
    const char *name;
    QByteArray rtf;
    QStringList paragraphs; // as the notepad must show them
};

inline void PrintTo(const TWordPadFixture &fixture, std::ostream *os)
{
    *os << fixture.name;
}

inline const TWordPadFixture kWordPadFixtures[] = {
    {"Russian",
     R"({\rtf1\ansi\ansicpg1251\deff0\nouicompat\deflang1049{\fonttbl{\f0\fnil\fcharset204 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang25 \'cf\'f0\'e8\'e2\'e5\'f2, \'ec\'e8\'f0!\par
}
)",
     {QString::fromUtf8("Привет, мир!"), ""}},
    {"Czech",
     R"({\rtf1\ansi\ansicpg1250\deff0\nouicompat\deflang1029{\fonttbl{\f0\fnil\fcharset238 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang5 P\'f8\'edli\'9a \'9elu\'9dou\'e8k\'fd k\'f9\'f2 \'fap\'ecl \'ef\'e1belsk\'e9 \'f3dy.\par
}
)",
     {QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy."), ""}},
    {"Greek",
     R"({\rtf1\ansi\ansicpg1253\deff0\nouicompat\deflang1032{\fonttbl{\f0\fnil\fcharset161 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang8 \'ca\'e1\'eb\'e7\'ec\'dd\'f1\'e1 \'ea\'fc\'f3\'ec\'e5, \'d9\'f1\'e1\'df\'e1!\par
}
)",
     {QString::fromUtf8("Καλημέρα κόσμε, Ωραία!"), ""}},
    // Japanese typed on a Western system: the document stays 1252, the Japanese font decides its runs.
    {"JapaneseInAWesternDocument",
     R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1033\deflangfe1041{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset128 \'82\'6c\'82\'72 \'96\'be\'92\'a9;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang9 Hello \f1\lang1041\'82\'b1\'82\'f1\'82\'c9\'82\'bf\'82\'cd\'81A\'90\'a2\'8aE\'81I\'83\\\'83t\'83g\'95\\\'8e\'a6\f0\lang9  caf\'e9\par
}
)",
     {QString::fromUtf8("Hello こんにちは、世界！ソフト表示 café"), ""}},
    {"JapaneseDocument",
     R"({\rtf1\ansi\ansicpg932\deff0\nouicompat\deflang1041{\fonttbl{\f0\fnil\fcharset128 \'82l\'82r \'83S\'83V\'83b\'83N;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang1041\'95\\\'8e\'a6\'83e\'83X\'83g {\uc2\u12354\'82\'a0}\'82\'a2\par
\'83\\\'83t\'83g\par
}
)",
     {QString::fromUtf8("表示テスト あい"), QString::fromUtf8("ソフト"), ""}},
    {"SimplifiedChinese",
     R"({\rtf1\ansi\ansicpg936\deff0\nouicompat\deflang2052{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang2052\'c4\'e3\'ba\'c3\'a3\'ac\'ca\'c0\'bd\'e7\par
}
)",
     {QString::fromUtf8("你好，世界"), ""}},
    {"TraditionalChinese",
     R"({\rtf1\ansi\ansicpg950\deff0\nouicompat\deflang1028{\fonttbl{\f0\fnil\fcharset136 \'b7s\'b2\'d3\'a9\'fa\'c5\'e9;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang1028\'a7A\'a6n\'a1A\'a5@\'ac\'c9\par
}
)",
     {QString::fromUtf8("你好，世界"), ""}},
    {"Korean",
     R"({\rtf1\ansi\ansicpg949\deff0\nouicompat\deflang1042{\fonttbl{\f0\fnil\fcharset129 \'b8\'bc\'c0\'ba \'b0\'ed\'b5\'f1;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang1042\'be\'c8\'b3\'e7\'c7\'cf\'bc\'bc\'bf\'e4 \'bc\'bc\'b0\'e8\par
}
)",
     {QString::fromUtf8("안녕하세요 세계"), ""}},
    // A Western font keeps its bytes Western in a Cyrillic document; a font without \fcharset takes \ansicpg.
    {"FontsOfSeveralCharsets",
     R"({\rtf1\ansi\ansicpg1251\deff0\nouicompat\deflang1049{\fonttbl{\f0\fnil\fcharset204 Calibri;}{\f1\fnil\fcharset0 Arial;}{\f2\fnil Tahoma;}{\f3\fnil\fcharset161 Calibri;}}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang25\'e4\'e0 \f1 caf\'e9 \f2\'e4\'e0 {\f3\'c5\'eb\'eb\'e7\'ed\'e9\'ea\'dc} \'e4\'e0\par
}
)",
     {QString::fromUtf8("да café да Ελληνικά да"), ""}},
};
