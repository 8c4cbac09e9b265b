#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace initdb {

// The word lists the demo data is made of.

struct City
{
    QString name;      // without "市"
    QString province;  // empty for the municipalities
    QString region;    // one of regions()
    QString areaCode;  // telephone area code
    QString domainTag; // a short ASCII tag for web domains
    int postalCode;    // of the city centre; no city here has a code with a leading zero
    QStringList districts;
};

// Hanzi with the pinyin used for e-mail addresses and web domains.
struct Syllable
{
    QString hanzi;
    QString pinyin;
};

struct Industry
{
    QString name;     // as it stands in a company name
    QString business; // what such a company does, for the overview
};

struct ProductModel
{
    QString model;
    QString spec;
    double price;
};

struct ProductFamily
{
    QString name;
    QString unit;
    QList<ProductModel> models;
};

struct Subject
{
    QString motif;
    QString content;
};

const QStringList &regions();
const QList<City> &cities();
const QList<Syllable> &brandSyllables();
const QList<Industry> &industries();
const QList<Syllable> &surnames();
const QList<Syllable> &givenNameCharacters();
const QStringList &roads();
const QStringList &mobilePrefixes();
const QList<ProductFamily> &productFamilies();

// The four categories of Sort, with their items.
const QStringList &clientTypes();
const QStringList &duties();
const QStringList &branches();
const QStringList &relationModes();
// The department that goes with each duty, same index.
const QStringList &branchOfDuty();

const QStringList &staff(); // our own people, who make the visits
const QList<Subject> &visitSubjects();
const QList<Subject> &appointmentSubjects();
const QStringList &contactRemarks();
const QStringList &orderRemarks();

} // namespace initdb
