#pragma once
// Expanded run records for the model tests: a plausible flat run with every
// member the categorisers read set, and the fields a case changes.
#include "model/expanded_record.h"
#include "model/item_rules.h"

#include <QByteArray>
#include <initializer_list>
#include <utility>

namespace rwtest {

using FieldValue = std::pair<rw::model::Field, QByteArray>;

template <class Values = std::initializer_list<FieldValue>>
inline QByteArray exRecord(const Values& values = {}) {
    using namespace rw::model;
    QByteArray r(kExRecordLength, ' ');
    r.replace(ex::ComputedBlock.offset(), ex::ComputedBlock.width, QByteArray(ex::ComputedBlock.width, '\0'));
    const FieldValue defaults[] = {
        {ex::RecordSpec, "SE"},          {ex::DataKind, "7"},           {ex::RaceYear, "2024"},
        {ex::RaceMonthDay, "0601"},      {ex::CourseCode, "05"},        {ex::MeetingNo, "03"},
        {ex::DayNo, "08"},               {ex::RaceNo, "11"},            {ex::FrameNo, "4"},
        {ex::HorseNo, "07"},             {ex::RegistrationNo, "2020101234"}, {ex::WeekdayCode, "1"},
        {ex::BirthYear, "2020"},         {ex::BirthMonth, "04"},        {ex::BirthDay, "10"},
        {ex::SireNo, "1110012345"},      {ex::DamSireNo, "          "}, {ex::HorseSymbolCode, "00"},
        {ex::SexCode, "1"},              {ex::TrainerCode, "01055"},    {ex::CarriedWeight, "570"},
        {ex::BlinkerCode, "0"},          {ex::JockeyCode, "01126"},     {ex::JockeyBirthYear, "1985"},
        {ex::ApprenticeCode, "0"},       {ex::BodyWeight, "480"},       {ex::AbnormalityCode, "0"},
        {ex::ArrivalOrder, "03"},        {ex::RaceTime, "1345"},        {ex::MarginCode, "   "},
        {ex::WinOdds, "0123"},           {ex::PrizeMoney, "00001000"},  {ex::Last3FTime, "345"},
        {ex::TimeDiff, "+003"},          {ex::GradeCode, "A"},          {ex::RaceSymbolCode, "000"},
        {ex::Distance, "1600"},          {ex::TrackCode, "11"},         {ex::RegisteredRunners, "16"},
        {ex::TurfGoingCode, "1"},        {ex::DirtGoingCode, "0"},      {ex::RecordEnd, "\r\n"},
    };
    for (const auto& [f, v] : defaults) put(r, f, v);
    r.replace(ex::ConditionCodes(4).offset(), 3, "703");
    for (const auto& [f, v] : values) put(r, f, v);
    return r;
}

}  // namespace rwtest
