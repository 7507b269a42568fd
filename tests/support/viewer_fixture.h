#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "state/viewer_state.h"
#include "tests/support/entry_builder.h"

// Writes a file as it stands, or scrambled as the data file is.
void writeFile(const std::string& path, const std::string& bytes);
void writeDataFile(const std::string& path, const std::string& plainText);

// Runs each test in a fresh working folder that holds the files the viewer
// reads, and creates the real viewer window there.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window (WM_CREATE loads what the folder holds), and destroys it.
    HWND createWindow();
    void destroyWindow();
    void repaint();  // the whole frame, now
    void paintDetail(int32_t entry, int32_t tab, int32_t scroll);
    COLORREF pixel(int x, int y) const;  // of the back buffer
    // Whether the back buffer at (x, y) holds exactly what TextOut draws of
    // `text` alone in the frame's font and these colours.
    bool showsText(int x, int y, const std::string& text, COLORREF ink, COLORREF paper) const;

    std::string folder;
    HWND hwnd = nullptr;
    ViewerState& state = gViewer;

private:
    std::string previousFolder;
};

// A 24-bit BMP filled with one colour.
std::string solidBmp(int width, int height, COLORREF colour);
// Writes 30 sidebar bitmaps of the sizes the frame uses and the list: column c
// of bitmap n is sidebarColour(n, c) from top to bottom.
void writeSidebarArt();
constexpr COLORREF sidebarColour(int position, int column) { return RGB(8 * position, column, 250 - 4 * position); }

// Pointer input as the window receives it, with the live cursor moved first.
void moveTo(HWND hwnd, int x, int y);
void clickAt(HWND hwnd, int x, int y);
