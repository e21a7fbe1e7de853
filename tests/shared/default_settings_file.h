// The default settings file byte for byte, written out here rather than computed by the code
// under test, so that a fault in that code cannot hide in the expectation.
#pragma once

#include <QByteArray>

namespace test_support {

inline const QByteArray kDefaultSettingsFile =
    "<?xml version=\"1.0\"?>\r\n"
    "<!-- Do not change this file yourself, or else you may cause the application to "
    "malfunction! -->\r\n"
    "<Settings>\r\n"
    "   <PreventMultipleInstance>True</PreventMultipleInstance>\r\n"
    "   <AlwaysonTop>True</AlwaysonTop>\r\n"
    "   <SafetyMechanism>True</SafetyMechanism>\r\n"
    "   <HyperClick>False</HyperClick>\r\n"
    "   <RepeatClick>0</RepeatClick>\r\n"
    "   <Delay>0</Delay>\r\n"
    "   <ClickIntervalinms>1000</ClickIntervalinms>\r\n"
    "   <Coordx>0</Coordx>\r\n"
    "   <Coordy>0</Coordy>\r\n"
    "   <Clicks>1</Clicks>\r\n"
    "   <Button>1</Button>\r\n"
    "   <HotKey>C</HotKey>\r\n"
    "   <KeepRepeatClick>False</KeepRepeatClick>\r\n"
    "   <InitialRepeatClicks>1</InitialRepeatClicks>\r\n"
    "   <StartMinimized>False</StartMinimized>\r\n"
    "   <AutoMinimize>0</AutoMinimize>\r\n"
    "   <ClickInterval2inms>1000</ClickInterval2inms>\r\n"
    "   <Range>0</Range>\r\n"
    "   <Loop>1</Loop>\r\n"
    "   <XPStyle>1</XPStyle>\r\n"
    "   <SysTray>0</SysTray>\r\n"
    "   <CloseMeansClose>1</CloseMeansClose>\r\n"
    "   <HideOnMinimize>1</HideOnMinimize>\r\n"
    "   <TrayIconMode>1</TrayIconMode>\r\n"
    "   <TrayIconIdleAnimate>1</TrayIconIdleAnimate>\r\n"
    "   <TrayIconRunningAnimate>1</TrayIconRunningAnimate>\r\n"
    "   <TrayIconThemeFile>.\\IconThemes\\default_icontheme.xml</TrayIconThemeFile>\r\n"
    "</Settings>\r\n";

} // namespace test_support
