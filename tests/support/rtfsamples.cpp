#include "support/rtfsamples.h"

namespace zelvar::testing::rtfsamples {

const char kSampleCodePage1250[] =
    R"({\rtf1\ansi\ansicpg1250\deff0\nouicompat\deflang1029{\fonttbl{\f0\fnil\fcharset238 Calibri;}{\f1\fnil\fcharset0 Courier New;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}
{\*\generator Textovy editor 6.1;}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang1029 P\'f8\'edli\'9a \b \'9elu\'9dou\'e8k\'fd\b0  k\'f9\'f2\par
\i\'fap\'ecl\i0  \cf1\'ef\'e1belsk\'e9\cf0  \ul\'f3dy\ulnone\par
\f1\fs20 <html>\tab\{x\}\\\par
}
)";

const char kSampleUnicodeWestern[] =
    R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff0\deff0\stshfdbch0\stshfloch31506\deflang1033
{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f1\fbidi \fswiss\fcharset238\fprq2{\*\panose 020b0604020202020204}Arial CE{\*\falt Arial};}}
{\colortbl;\red0\green0\blue0;\red0\green128\blue0;}
{\*\defchp \fs24 }{\stylesheet{\ql \li0\ri0\widctlpar\wrapdefault\fs24\lang1033 \snext0 Normal;}{\*\cs10 \additive Default Paragraph Font;}}
{\info{\title Zkusebni dokument}{\author Nekdo}{\creatim\yr2024\mo1\dy5\hr10\min3}}
\paperw11906\paperh16838\margl1417\margr1417 \widowctrl\ftnbj
{\*\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e}
\pard\plain \ltrpar\ql \li0\ri0\widctlpar\f0\fs24\lang1029 {\rtlch\fcs1 \af0 \ltrch\fcs0 \lang1029 Dobr\'fd den, \u269\'63lov\u283\'65ku }{\b\cf2 zelen\'e1}{ a \i kurz\'edva\i0 .}\par
\pard {\field{\*\fldinst {\ltrch HYPERLINK "http://example.invalid/" }}{\fldrslt {\ul\cf2 odkaz}}}\tab konec\~textu\-\_x\emdash\lquote q\rquote\par
{\f1\'e8\'e1st}{\*\bkmkstart a}{\*\bkmkend a}{\pict\wmetafile8\picw10\pich10\bin4 {}\\}\par
}
)";

const char kSampleOpenOffice[] = R"({\rtf1\ansi\deff4\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f4\fswiss\fprq2\fcharset0 Liberation Sans{\*\falt Arial};}}
{\colortbl;\red0\green0\blue0;\red128\green0\blue128;}
{\stylesheet{\s0\snext0\ql\widctlpar\hyphpar0\ltrpar\cf0\kerning1\dbch\af5\langfe2052\afs24\alang1081\loch\f3\hich\af3\fs24\lang1029 Normal;}}
{\*\generator Kancelar/1.0}{\info{\creatim\yr2024\mo3\dy2}{\doccomm koment\'e1\'f8}}
\deftab709\viewscale100
{\*\pgdsctbl{\pgdsc0\pgdscuse451\pgwsxn11906\pghsxn16838{\*\pgdscnxt0 Standard;}}}
\pgndec\pard\plain \s0\ql\fs24\lang1029{\uc0\u381 lu\u357 ou\u269 k\u253  \u9731}{\cf2\strike  ko\u328}{\uc1 \u367\'f9}\par
\pard\plain {\f0\fs28 \u8364\'80 a \'80}{\v skryt\'fd}{\line druh\u253 ?}\par
{\upr{\f0 stara verze}{\*\ud{\f0 nov\u225\'e1 verze}}}\par
}
)";

} // namespace zelvar::testing::rtfsamples
