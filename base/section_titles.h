#pragma once

// The titles of an entry's sections, as the tab pages show them and the
// printout prints them.
constexpr char kEpisodeTitle[] = "[エピソード]";
constexpr char kKampoTitle[] = "[漢方医学]";
constexpr char kComponentsTitle[] = "[成分]";
constexpr char kImmunityTitle[] = "[免疫]";
constexpr char kEffectTitle[] = "[医療効果]";
constexpr char kSymptomsTitle[] = "[対応病状]";
constexpr char kIngredientsTitle[] = "[材料名]";
constexpr char kStepsTitle[] = "[調理法]";
constexpr char kDishEffectTitle[] = "[料理の効果]";
constexpr char kOtherDishesTitle[] = "[その他の料理例]";
constexpr char kAdviceTitle[] = "[アドバイス]";
constexpr char kSupplementTitle[] = "[補足]";
