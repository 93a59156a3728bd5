#pragma once
// Which item feeds which criterion slot, which slots each disorder counts and where its count
// and diagnosis go. Shared by the criteria algorithm and the report sections that print it.
#include "state/ProgramState.h"

#include <array>

namespace selvo::criteria {

using Slot = NumberOrEmpty ScoreRecord::*;

struct ItemCriterion {
    Slot slot;
    int item;
};

// Every item-level slot, in the order the algorithm sets them. Item 50 feeds SZ5 and ST8;
// BDL5 and BDL6 are the two halves of borderline criterion 5 and are not counted themselves.
inline constexpr std::array<ItemCriterion, 95> kItemCriteria{{
    {&ScoreRecord::PAR1, 1},   {&ScoreRecord::PAR2, 13}, {&ScoreRecord::PAR3, 25},
    {&ScoreRecord::PAR4, 37},  {&ScoreRecord::PAR5, 49}, {&ScoreRecord::PAR6, 61},
    {&ScoreRecord::PAR7, 73},

    {&ScoreRecord::SZ1, 2},    {&ScoreRecord::SZ2, 14},  {&ScoreRecord::SZ3, 26},
    {&ScoreRecord::SZ4, 38},   {&ScoreRecord::SZ5, 50},  {&ScoreRecord::SZ6, 62},
    {&ScoreRecord::SZ7, 74},

    {&ScoreRecord::ST1, 3},    {&ScoreRecord::ST2, 15},  {&ScoreRecord::ST3, 27},
    {&ScoreRecord::ST4, 39},   {&ScoreRecord::ST5, 51},  {&ScoreRecord::ST6, 63},
    {&ScoreRecord::ST7, 75},   {&ScoreRecord::ST8, 50},  {&ScoreRecord::ST9, 85},

    {&ScoreRecord::AS1, 4},    {&ScoreRecord::AS2, 16},  {&ScoreRecord::AS3, 28},
    {&ScoreRecord::AS4, 40},   {&ScoreRecord::AS5, 52},  {&ScoreRecord::AS6, 64},
    {&ScoreRecord::AS7, 76},   {&ScoreRecord::AS8, 86},

    {&ScoreRecord::BDL1, 5},   {&ScoreRecord::BDL2, 17}, {&ScoreRecord::BDL3, 29},
    {&ScoreRecord::BDL4, 41},  {&ScoreRecord::BDL5, 53}, {&ScoreRecord::BDL6, 65},
    {&ScoreRecord::BDL7, 77},  {&ScoreRecord::BDL8, 87}, {&ScoreRecord::BDL9, 92},
    {&ScoreRecord::BDL10, 94},

    {&ScoreRecord::HIS1, 6},   {&ScoreRecord::HIS2, 18}, {&ScoreRecord::HIS3, 30},
    {&ScoreRecord::HIS4, 42},  {&ScoreRecord::HIS5, 54}, {&ScoreRecord::HIS6, 66},
    {&ScoreRecord::HIS7, 78},  {&ScoreRecord::HIS8, 88},

    {&ScoreRecord::NAR1, 7},   {&ScoreRecord::NAR2, 19}, {&ScoreRecord::NAR3, 31},
    {&ScoreRecord::NAR4, 43},  {&ScoreRecord::NAR5, 55}, {&ScoreRecord::NAR6, 67},
    {&ScoreRecord::NAR7, 79},  {&ScoreRecord::NAR8, 89}, {&ScoreRecord::NAR9, 93},

    {&ScoreRecord::AV1, 8},    {&ScoreRecord::AV2, 20},  {&ScoreRecord::AV3, 32},
    {&ScoreRecord::AV4, 44},   {&ScoreRecord::AV5, 56},  {&ScoreRecord::AV6, 68},
    {&ScoreRecord::AV7, 80},

    {&ScoreRecord::DEP1, 9},   {&ScoreRecord::DEP2, 21}, {&ScoreRecord::DEP3, 33},
    {&ScoreRecord::DEP4, 45},  {&ScoreRecord::DEP5, 57}, {&ScoreRecord::DEP6, 69},
    {&ScoreRecord::DEP7, 81},  {&ScoreRecord::DEP8, 90},

    {&ScoreRecord::OC1, 10},   {&ScoreRecord::OC2, 22},  {&ScoreRecord::OC3, 34},
    {&ScoreRecord::OC4, 46},   {&ScoreRecord::OC5, 58},  {&ScoreRecord::OC6, 70},
    {&ScoreRecord::OC7, 82},   {&ScoreRecord::OC8, 91},

    {&ScoreRecord::DE1, 11},   {&ScoreRecord::DE2, 23},  {&ScoreRecord::DE3, 35},
    {&ScoreRecord::DE4, 47},   {&ScoreRecord::DE5, 59},  {&ScoreRecord::DE6, 71},
    {&ScoreRecord::DE7, 83},

    {&ScoreRecord::PA1, 12},   {&ScoreRecord::PA2, 24},  {&ScoreRecord::PA3, 36},
    {&ScoreRecord::PA4, 48},   {&ScoreRecord::PA5, 60},  {&ScoreRecord::PA6, 72},
    {&ScoreRecord::PA7, 84},
}};

inline constexpr int kMostCriteria = 9;

// A disorder's criteria 1..n in criterion order (the slots its count adds up), its count,
// its diagnosis and the least count that gives the diagnosis.
struct DisorderCriteria {
    Disorder disorder;
    int criterionCount;
    std::array<Slot, kMostCriteria> criteria;
    Slot count;
    Slot diagnosis;
    int threshold;
    Slot alsoRequired; // antisocial: no diagnosis without the conduct-disorder criterion
};

inline constexpr std::array<DisorderCriteria, kDisorderCount> kDisorders{{
    {PAR,
     7,
     {&ScoreRecord::PAR1, &ScoreRecord::PAR2, &ScoreRecord::PAR3, &ScoreRecord::PAR4,
      &ScoreRecord::PAR5, &ScoreRecord::PAR6, &ScoreRecord::PAR7},
     &ScoreRecord::PARTOT,
     &ScoreRecord::PARD,
     4,
     nullptr},
    {SZ,
     7,
     {&ScoreRecord::SZ1, &ScoreRecord::SZ2, &ScoreRecord::SZ3, &ScoreRecord::SZ4, &ScoreRecord::SZ5,
      &ScoreRecord::SZ6, &ScoreRecord::SZ7},
     &ScoreRecord::SZTOT,
     &ScoreRecord::SZD,
     4,
     nullptr},
    {ST,
     9,
     {&ScoreRecord::ST1, &ScoreRecord::ST2, &ScoreRecord::ST3, &ScoreRecord::ST4, &ScoreRecord::ST5,
      &ScoreRecord::ST6, &ScoreRecord::ST7, &ScoreRecord::ST8, &ScoreRecord::ST9},
     &ScoreRecord::STTOT,
     &ScoreRecord::STD,
     5,
     nullptr},
    {AS,
     8,
     {&ScoreRecord::AS1, &ScoreRecord::AS2, &ScoreRecord::AS3, &ScoreRecord::AS4, &ScoreRecord::AS5,
      &ScoreRecord::AS6, &ScoreRecord::AS7, &ScoreRecord::AS8},
     &ScoreRecord::ASTOT,
     &ScoreRecord::ASD,
     3,
     &ScoreRecord::AS8},
    {BDL,
     9,
     {&ScoreRecord::BDL1, &ScoreRecord::BDL2, &ScoreRecord::BDL3, &ScoreRecord::BDL4,
      &ScoreRecord::BDL56, &ScoreRecord::BDL7, &ScoreRecord::BDL8, &ScoreRecord::BDL9,
      &ScoreRecord::BDL10},
     &ScoreRecord::BDLTOT,
     &ScoreRecord::BDLD,
     5,
     nullptr},
    {HIS,
     8,
     {&ScoreRecord::HIS1, &ScoreRecord::HIS2, &ScoreRecord::HIS3, &ScoreRecord::HIS4,
      &ScoreRecord::HIS5, &ScoreRecord::HIS6, &ScoreRecord::HIS7, &ScoreRecord::HIS8},
     &ScoreRecord::HISTOT,
     &ScoreRecord::HISD,
     5,
     nullptr},
    {NAR,
     9,
     {&ScoreRecord::NAR1, &ScoreRecord::NAR2, &ScoreRecord::NAR3, &ScoreRecord::NAR4,
      &ScoreRecord::NAR5, &ScoreRecord::NAR6, &ScoreRecord::NAR7, &ScoreRecord::NAR8,
      &ScoreRecord::NAR9},
     &ScoreRecord::NARTOT,
     &ScoreRecord::NARD,
     5,
     nullptr},
    {AV,
     7,
     {&ScoreRecord::AV1, &ScoreRecord::AV2, &ScoreRecord::AV3, &ScoreRecord::AV4, &ScoreRecord::AV5,
      &ScoreRecord::AV6, &ScoreRecord::AV7},
     &ScoreRecord::AVTOT,
     &ScoreRecord::AVD,
     4,
     nullptr},
    {DEP,
     8,
     {&ScoreRecord::DEP1, &ScoreRecord::DEP2, &ScoreRecord::DEP3, &ScoreRecord::DEP4,
      &ScoreRecord::DEP5, &ScoreRecord::DEP6, &ScoreRecord::DEP7, &ScoreRecord::DEP8},
     &ScoreRecord::DEPTOT,
     &ScoreRecord::DEPD,
     5,
     nullptr},
    {OC,
     8,
     {&ScoreRecord::OC1, &ScoreRecord::OC2, &ScoreRecord::OC3, &ScoreRecord::OC4, &ScoreRecord::OC5,
      &ScoreRecord::OC6, &ScoreRecord::OC7, &ScoreRecord::OC8},
     &ScoreRecord::OCTOT,
     &ScoreRecord::OCD,
     4,
     nullptr},
    {DE,
     7,
     {&ScoreRecord::DE1, &ScoreRecord::DE2, &ScoreRecord::DE3, &ScoreRecord::DE4, &ScoreRecord::DE5,
      &ScoreRecord::DE6, &ScoreRecord::DE7},
     &ScoreRecord::DETOT,
     &ScoreRecord::DED,
     5,
     nullptr},
    {PA,
     7,
     {&ScoreRecord::PA1, &ScoreRecord::PA2, &ScoreRecord::PA3, &ScoreRecord::PA4, &ScoreRecord::PA5,
      &ScoreRecord::PA6, &ScoreRecord::PA7},
     &ScoreRecord::PATOT,
     &ScoreRecord::PAD,
     4,
     nullptr},
}};

// The clusters, each with the disorders it adds up; DE and PA belong to none.
struct Cluster {
    Slot criteriaTotal;
    Slot diagnosisTotal;
    int memberCount;
    std::array<Disorder, 4> members;
};

inline constexpr std::array<Cluster, 3> kClusters{{
    {&ScoreRecord::CLATOT, &ScoreRecord::CLAD, 3, {PAR, SZ, ST}},
    {&ScoreRecord::CLBTOT, &ScoreRecord::CLBD, 4, {AS, BDL, HIS, NAR}},
    {&ScoreRecord::CLCTOT, &ScoreRecord::CLCD, 3, {AV, DEP, OC}},
}};

} // namespace selvo::criteria
