// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "game_palette.h"

#include <QMenu>
#include <QWidget>

#include <array>

namespace {

// One colour role in the three groups: active, disabled, inactive.
struct RoleColours {
    QPalette::ColorRole Role;
    QRgb Active;
    QRgb Disabled;
    QRgb Inactive;
};

// Fusion's light colours, which Qt uses when no desktop theme sets any,
// written out: Fusion's own "standard" palette follows the desktop theme
// (under a dark GTK theme it is dark), and the game's look must not.
constexpr std::array<RoleColours, 20> kColours{{
    {QPalette::WindowText, 0xff000000, 0xffbebebe, 0xff000000},
    {QPalette::Button, 0xffefefef, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe, 0xff9f9f9f},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xffbebebe, 0xff000000},
    {QPalette::BrightText, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xffbebebe, 0xff000000},
    {QPalette::Base, 0xffffffff, 0xffefefef, 0xffffffff},
    {QPalette::Window, 0xffefefef, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1, 0xff767676},
    {QPalette::Highlight, 0xff308cc6, 0xff919191, 0xff308cc6},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000, 0x80000000},
}};

} // namespace

QPalette GamePalette()
{
    static const QPalette palette = [] {
        QPalette p;
        for (const RoleColours &c : kColours) {
            p.setColor(QPalette::Active, c.Role, QColor::fromRgba(c.Active));
            p.setColor(QPalette::Disabled, c.Role, QColor::fromRgba(c.Disabled));
            p.setColor(QPalette::Inactive, c.Role, QColor::fromRgba(c.Inactive));
        }
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Disabled, QPalette::Inactive})
            p.setColor(group, QPalette::Accent, p.color(group, QPalette::Highlight));
#endif
        return p;
    }();
    return palette;
}

void UseGamePalette(QWidget *window)
{
    window->setPalette(GamePalette());
    // Menus are windows of their own and inherit no colours.
    for (QMenu *menu : window->findChildren<QMenu *>())
        menu->setPalette(GamePalette());
}
