// The pure parts of the play stage: keyword detection, the play frame's start
// address, the trailer's address pieces and the tray record.
#include <gtest/gtest.h>

#include <string>

#include "MicroClientConfig.h"
#include "TrayIcon.h"
#include "WebFrame.h"

using Veneer::CStdString;

TEST(PlayDetection, KeywordIsFoundCaseSensitivelyAnywhere)
{
    const CStdString keyword(L"client=pc");
    EXPECT_TRUE(IsPlayAddress(L"http://host/game.html?client=pc", keyword));
    EXPECT_TRUE(IsPlayAddress(L"http://host/client=pc/game.html", keyword));
    EXPECT_TRUE(IsPlayAddress(L"http://host/game.html#x&client=pc", keyword));
    EXPECT_FALSE(IsPlayAddress(L"http://host/game.html?CLIENT=PC", keyword));
    EXPECT_FALSE(IsPlayAddress(L"http://host/game.html?client=p", keyword));
    EXPECT_FALSE(IsPlayAddress(L"", keyword));
    // A configuration without the key matches every address.
    EXPECT_TRUE(IsPlayAddress(L"about:blank", CStdString()));
    EXPECT_TRUE(IsPlayAddress(L"", CStdString()));
}

TEST(PlayDetection, StartAddressBeginsAtTheFirstHttp)
{
    EXPECT_EQ(CStdString(L"http://host/g?client=pc"), PlayStartAddress(L"res://x/http://host/g?client=pc"));
    EXPECT_EQ(CStdString(L"http://a/?u=http://b/"), PlayStartAddress(L"js:http://a/?u=http://b/"));
    EXPECT_EQ(CStdString(L"http://host/g"), PlayStartAddress(L"http://host/g"));
    EXPECT_EQ(CStdString(L"https://host/g?client=pc"), PlayStartAddress(L"https://host/g?client=pc"));
    EXPECT_EQ(CStdString(), PlayStartAddress(CStdString()));
}

TEST(TrailerAddress, PiecesOfTheTrailer)
{
    EXPECT_EQ(L"A", TrailerAddress("A|B", 0));
    EXPECT_EQ(L"B", TrailerAddress("A|B", 1));
    EXPECT_EQ(L"B", TrailerAddress("A||B", 1));
    EXPECT_EQ(L"B", TrailerAddress("|B", 0));
    EXPECT_EQ(L"", TrailerAddress("|B", 1));
    EXPECT_EQ(L"", TrailerAddress("A|", 1));
    // Without "|" neither address is used.
    EXPECT_EQ(L"", TrailerAddress("A", 0));
    EXPECT_EQ(L"", TrailerAddress("", 0));
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(0xE9)), WidenTrailerText("\xE9"));
}

TEST(TrayIcon, RecordAndTipCutToTheField)
{
    CTrayIcon tray;
    EXPECT_FALSE(tray.IsAdded());
    const std::wstring name(300, L'n');
    // No owner window: the shell refuses the icon, the record is still filled.
    tray.Add(nullptr, nullptr, (name + L"tail").c_str());
    const NOTIFYICONDATAW& data = tray.GetData();
    EXPECT_EQ(sizeof(NOTIFYICONDATAW), data.cbSize);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), data.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), data.uCallbackMessage);
    EXPECT_EQ(0u, data.uID);
    const size_t field = sizeof(data.szTip) / sizeof(data.szTip[0]);
    EXPECT_EQ(std::wstring(field - 1, L'n'), std::wstring(data.szTip));

    CTrayIcon short_tip;
    short_tip.Add(nullptr, nullptr, L"Tarrowin");
    EXPECT_STREQ(L"Tarrowin", short_tip.GetData().szTip);

    CTrayIcon no_tip;
    no_tip.Add(nullptr, nullptr, nullptr);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON), no_tip.GetData().uFlags);
    EXPECT_EQ(L'\0', no_tip.GetData().szTip[0]);
}
