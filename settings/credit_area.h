// The client-area pixels of the settings dialog that act as the link to
// the maker's page. Fixed in pixels: it follows neither font nor DPI.
#pragma once

constexpr bool InCreditArea(int x, int y) {
    return x > 10 && x < 105 && y > 135 && y < 175;
}

// Placeholder until the project has a public page of its own.
constexpr const char* kMakerPage = "https://zintora.example/";
