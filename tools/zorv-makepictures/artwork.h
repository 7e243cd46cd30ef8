#pragma once
// Procedural arcade artwork for the six picture categories of a game: every
// picture is drawn from shapes, gradients and the pixel font, from the game's
// title and a seed, so the same game always gets the same pictures.
#include <cstdint>
#include <string>
#include <string_view>

#include "canvas.h"

namespace zorv::pictures {

enum class Category { Title, Snapshot, Marquee, Cabinet, ControlPanel, Flyer };

inline constexpr Category kCategories[] = {Category::Title,   Category::Snapshot,     Category::Marquee,
                                           Category::Cabinet, Category::ControlPanel, Category::Flyer};

// The collection's folder for the category: "titles", "snap", "marquees", "cabinets", "cpanel", "flyers".
std::string_view FolderName(Category category);

struct GameArt {
  std::string title;   // upper-case words, drawn in the pixel font
  std::uint32_t seed;  // picks the colours and the placement of shapes
};

// The art of a ROM: its title (invented for the demo games, else the ROM name in
// capitals) and a seed taken from the name.
GameArt ArtFor(std::string_view romName, std::string_view title = {});

// The picture of a category at a size. Cabinet pictures stand on a transparent
// background, marquees have rounded transparent corners; the rest is opaque.
Canvas DrawPicture(const GameArt& art, Category category, int width, int height);

}  // namespace zorv::pictures
