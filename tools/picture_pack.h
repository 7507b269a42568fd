#pragma once

#include <string>
#include <vector>

// The viewer's name for a picture source file: "0071.png" -> "0071",
// "no.png" -> "no"; empty for a file that is not a picture of ours.
std::string pictureTargetName(const std::string& sourceFileName);

// What keeps a picture source file out of the bundle, empty when nothing
// does: it must be a PNG that the viewer's decoder accepts.
std::string pictureProblem(const std::string& bytes);

// Scrambles every picture of sourceDir into outDir under its viewer name.
// Returns the problems found; nothing is written for a file that fails.
std::vector<std::string> packPictures(const std::string& sourceDir, const std::string& outDir);
