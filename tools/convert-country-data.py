#!/usr/bin/env python3
"""Converts the country figures of the npm packages `country-json` (MIT) and `i18n-iso-countries`
(MIT, for the Portuguese names) into content/almanac/data/paises.tbl, the source of the
database of countries. Run once, by hand, with the folder holding the two installed packages:

    npm install country-json@2.3.0 i18n-iso-countries@7.14.0
    tools/convert-country-data.py node_modules > content/almanac/data/paises.tbl

Only sovereign states are kept (dependent territories and areas under another state's
administration are left out). Capitals are written in their usual Portuguese form where it
differs from the source's; economic blocs are their membership in 1998, written here.
"""
import json
import os
import sys
import unicodedata

base = sys.argv[1]
src = os.path.join(base, "country-json", "src")


def load(name, field):
    with open(os.path.join(src, "country-by-%s.json" % name), encoding="utf-8") as f:
        return {row["country"]: row.get(field) for row in json.load(f)}


codes = load("abbreviation", "abbreviation")
government = load("government-type", "government")
population = load("population", "population")
area = load("surface-area", "area")
capital = load("capital-city", "city")
continent = load("continent", "continent")
region = load("region-in-world", "location")
currency = load("currency-code", "currency_code")
tld = load("domain-tld", "tld")
landlocked = load("landlocked", "landlocked")
calling = load("calling-code", "calling_code")
elevation = load("elevation", "elevation")
temperature = load("yearly-average-temperature", "temperature")
with open(os.path.join(base, "i18n-iso-countries", "langs", "pt.json"), encoding="utf-8") as f:
    portuguese = json.load(f)["countries"]

not_sovereign = ("Dependent", "Territory", "Overseas", "Nonmetropolitan", "Part of", "Special Administrative",
                 "Territorial Collectivity", "Commonwealth of the US", "Co-administrated", "Administrated by the UN",
                 "Autonomous Area", "Occupied")
# Sovereign states whose government type the source leaves out, and places it lists without one
# that are not states.
sovereign_without_type = {"SS", "ME", "RS", "TL", "XK"}

names_pt = {
    "US": "Estados Unidos", "GB": "Reino Unido", "RU": "Rússia", "KR": "Coreia do Sul", "KP": "Coreia do Norte",
    "CD": "República Democrática do Congo", "CG": "Congo", "VA": "Vaticano", "IR": "Irã", "SY": "Síria",
    "LA": "Laos", "MD": "Moldávia", "MK": "Macedônia do Norte", "TZ": "Tanzânia", "VN": "Vietnã",
    "BO": "Bolívia", "VE": "Venezuela", "FM": "Micronésia", "BN": "Brunei", "CZ": "República Tcheca",
    "NL": "Países Baixos", "CI": "Costa do Marfim", "PS": "Palestina", "TW": "Taiwan", "CV": "Cabo Verde",
    "SZ": "Essuatíni", "MM": "Mianmar",
    # The Brazilian spelling where the package gives the European one.
    "AM": "Armênia", "SI": "Eslovênia", "EE": "Estônia", "LV": "Letônia", "MC": "Mônaco", "PL": "Polônia",
    "RO": "Romênia", "KE": "Quênia", "MG": "Madagascar", "MU": "Maurício", "KW": "Kuwait", "YE": "Iêmen",
    "BJ": "Benin", "DJ": "Djibuti", "QA": "Catar", "TM": "Turcomenistão", "MW": "Malawi", "BA": "Bósnia e Herzegovina",
}

capitals_pt = {
    "Washington": "Washington", "London": "Londres", "Moscow": "Moscou", "Beijing": "Pequim", "Tokyo": "Tóquio",
    "Rome": "Roma", "Paris": "Paris", "Berlin": "Berlim", "Lisboa": "Lisboa", "Lisbon": "Lisboa", "Madrid": "Madri",
    "Brasília": "Brasília", "Brasilia": "Brasília", "Asunción": "Assunção", "Bogota": "Bogotá", "Bogotá": "Bogotá",
    "Mexico City": "Cidade do México", "Ciudad de México": "Cidade do México", "Havana": "Havana",
    "Athens": "Atenas", "Athenai": "Atenas", "Warszawa": "Varsóvia", "Warsaw": "Varsóvia", "Praha": "Praga",
    "Prague": "Praga", "Wien": "Viena", "Vienna": "Viena", "Bruxelles [Brussel]": "Bruxelas", "Brussels": "Bruxelas",
    "Copenhagen": "Copenhague", "København": "Copenhague", "Stockholm": "Estocolmo", "Helsinki [Helsingfors]": "Helsinque",
    "Helsinki": "Helsinque", "Oslo": "Oslo", "Dublin": "Dublin", "Bern": "Berna", "Roma": "Roma",
    "Bucuresti": "Bucareste", "Bucharest": "Bucareste", "Beograd": "Belgrado", "Belgrade": "Belgrado",
    "Kyiv": "Kiev", "Kiev": "Kiev", "Kijev": "Kiev", "Cairo": "Cairo", "Al-Qahira": "Cairo", "Algiers": "Argel", "Alger": "Argel",
    "Tunis": "Túnis", "Rabat": "Rabat", "Tripoli": "Trípoli", "Khartum": "Cartum", "Khartoum": "Cartum",
    "Addis Abeba": "Adis Abeba", "Addis Ababa": "Adis Abeba", "Nairobi": "Nairóbi", "Pretoria": "Pretória",
    "Luanda": "Luanda", "Maputo": "Maputo", "Bissau": "Bissau", "Praia": "Praia", "Sao Tomé": "São Tomé",
    "São Tomé": "São Tomé", "Kinshasa": "Kinshasa", "Dakar": "Dacar", "Yamoussoukro": "Yamoussoukro",
    "New Delhi": "Nova Délhi", "Islamabad": "Islamabad", "Kabul": "Cabul", "Teheran": "Teerã", "Tehran": "Teerã",
    "Baghdad": "Bagdá", "Damascus": "Damasco", "Dimashq": "Damasco", "Beirut": "Beirute", "Jerusalem": "Jerusalém",
    "Amman": "Amã", "Riyadh": "Riad", "Ankara": "Ancara", "Seoul": "Seul", "Pyongyang": "Pyongyang",
    "Bangkok": "Bangcoc", "Hanoi": "Hanói", "Manila": "Manila", "Jakarta": "Jacarta", "Singapore": "Singapura",
    "Kuala Lumpur": "Kuala Lumpur", "Canberra": "Camberra", "Wellington": "Wellington", "Ottawa": "Ottawa",
    "Buenos Aires": "Buenos Aires", "Santiago de Chile": "Santiago", "Santiago": "Santiago", "Lima": "Lima",
    "Quito": "Quito", "Caracas": "Caracas", "Montevideo": "Montevidéu", "La Paz": "La Paz",
    "Georgetown": "Georgetown", "Paramaribo": "Paramaribo", "Panama": "Cidade do Panamá",
    "Panamá": "Cidade do Panamá", "Ciudad de Panamá": "Cidade do Panamá", "San José": "San José",
    "Guatemala": "Cidade da Guatemala", "Ciudad de Guatemala": "Cidade da Guatemala", "San Salvador": "San Salvador",
    "Tegucigalpa": "Tegucigalpa", "Managua": "Manágua", "Santo Domingo": "Santo Domingo", "Port-au-Prince": "Porto Príncipe",
    "Kingston": "Kingston", "Mogadishu": "Mogadíscio", "Mogadishu ": "Mogadíscio", "Moroni": "Moroni",
    "Antananarivo": "Antananarivo", "Reykjavik": "Reykjavík", "Reykjavík": "Reykjavík", "Tallinn": "Tallinn",
    "Riga": "Riga", "Vilnius": "Vilnius", "Minsk": "Minsk", "Chisinau": "Chisinau", "Sofia": "Sófia",
    "Budapest": "Budapeste", "Bratislava": "Bratislava", "Ljubljana": "Liubliana", "Zagreb": "Zagreb",
    "Sarajevo": "Sarajevo", "Skopje": "Escópia", "Tirana": "Tirana", "Valletta": "Valeta", "Nicosia": "Nicósia",
    "Tbilisi": "Tbilisi", "Yerevan": "Erevan", "Baku": "Baku", "Astana": "Astana", "Tashkent": "Tashkent",
    "Toskent": "Tashkent", "Ashgabat": "Asgabate", "Dushanbe": "Duchambé", "Bishkek": "Bishkek", "Ulan Bator": "Ulan Bator",
    "Kathmandu": "Katmandu", "Thimphu": "Timbu", "Dhaka": "Daca", "Colombo": "Colombo", "Male": "Malé",
    "Rangoon (Yangon)": "Naypyidaw", "Yangon": "Naypyidaw", "Phnom Penh": "Phnom Penh", "Vientiane": "Vientiane",
    "Bandar Seri Begawan": "Bandar Seri Begawan", "Dili": "Díli", "Port Moresby": "Port Moresby",
    "Kuwait": "Cidade do Kuwait", "Doha": "Doha", "Manama": "Manama", "Abu Dhabi": "Abu Dhabi", "Muscat": "Mascate",
    "Masqat": "Mascate", "Sanaa": "Sanaá", "Tel Aviv-Jaffa": "Jerusalém", "Luxembourg": "Luxemburgo",
    "Monaco-Ville": "Mônaco", "Monaco": "Mônaco", "Andorra la Vella": "Andorra-a-Velha", "San Marino": "San Marino",
    "Vaduz": "Vaduz", "Citt\u00e0 del Vaticano": "Cidade do Vaticano", "Vatican City": "Cidade do Vaticano",
    "Amsterdam": "Amsterdã", "Abuja": "Abuja", "Accra": "Acra", "Conakry": "Conacri", "Freetown": "Freetown",
    "Monrovia": "Monróvia", "Bamako": "Bamaco", "Niamey": "Niamei", "Ouagadougou": "Uagadugu",
    "Nouakchott": "Nouakchott", "N'Djamena": "N'Djamena", "Bangui": "Bangui", "Yaoundé": "Iaundê", "Libreville": "Libreville",
    "Malabo": "Malabo", "Brazzaville": "Brazzaville", "Kigali": "Kigali", "Bujumbura": "Bujumbura",
    "Kampala": "Kampala", "Dodoma": "Dodoma", "Lusaka": "Lusaca", "Harare": "Harare", "Lilongwe": "Lilongwe",
    "Gaborone": "Gaborone", "Windhoek": "Windhoek", "Maseru": "Maseru", "Mbabane": "Mbabane", "Asmara": "Asmara",
    "Djibouti": "Djibuti", "Port Louis": "Port Louis", "Victoria": "Vitória", "Banjul": "Banjul", "Lomé": "Lomé",
    "Porto-Novo": "Porto Novo", "Canberra ": "Camberra",
}

# Capitals the source writes in a form the table above cannot match, by ISO code.
capitals_by_code = {
    "VA": "Cidade do Vaticano", "MX": "Cidade do México", "DO": "Santo Domingo", "LU": "Luxemburgo", "CU": "Havana",
    "CN": "Pequim", "BH": "Manama", "CM": "Iaundê", "KI": "Tarawa do Sul", "MH": "Majuro", "LK": "Colombo",
}

regions_pt = {
    "Antarctica": "Antártida", "Australia and New Zealand": "Austrália e Nova Zelândia", "Baltic Countries": "Países Bálticos",
    "British Isles": "Ilhas Britânicas", "Caribbean": "Caribe", "Central Africa": "África Central",
    "Central America": "América Central", "Central and Southeast Europe": "Europa Central e do Sudeste",
    "Eastern Africa": "África Oriental", "Eastern Asia": "Ásia Oriental", "Eastern Europe": "Europa Oriental",
    "Melanesia": "Melanésia", "Micronesia": "Micronésia", "Micronesia/Caribbean": "Micronésia",
    "Middle East": "Oriente Médio", "Nordic Countries": "Países Nórdicos", "North America": "América do Norte",
    "Northern Africa": "África do Norte", "Polynesia": "Polinésia", "South America": "América do Sul",
    "Southeast Asia": "Sudeste Asiático", "Southern Africa": "África Austral", "Southern Asia": "Ásia Meridional",
    "Southern Europe": "Europa Meridional", "Southern and Central Asia": "Ásia Central e Meridional",
    "Western Africa": "África Ocidental", "Western Europe": "Europa Ocidental",
}
continents_pt = {"Africa": "África", "Antarctica": "Antártida", "Asia": "Ásia", "Europe": "Europa",
                 "North America": "América do Norte", "Oceania": "Oceania", "South America": "América do Sul"}

# Economic blocs in 1998, by ISO code.
blocs = {
    "Mercosul": ["AR", "BR", "PY", "UY"],
    "ALADI": ["AR", "BO", "BR", "CL", "CO", "EC", "MX", "PY", "PE", "UY", "VE"],
    "Pacto Andino": ["BO", "CO", "EC", "PE", "VE"],
    "Nafta": ["US", "CA", "MX"],
    "União Européia": ["DE", "AT", "BE", "DK", "ES", "FI", "FR", "GR", "IE", "IT", "LU", "NL", "PT", "GB", "SE"],
    "Asean": ["BN", "PH", "ID", "LA", "MY", "MM", "SG", "TH", "VN"],
}


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def number(value):
    if isinstance(value, float):
        text = ("%.2f" % value).rstrip("0").rstrip(".")
        return text if "." in text else text + ".0"
    return str(value)


rows = []
for country, code in codes.items():
    if not code or code not in portuguese:
        continue
    gov = government.get(country)
    if gov is None and code not in sovereign_without_type:
        continue
    if gov and any(word in gov for word in not_sovereign):
        continue
    name = names_pt.get(code)
    if name is None:
        name = portuguese[code]
        if isinstance(name, list):
            name = name[0]
    fields = [("Nome", quote(name)), ("Sigla", quote(code))]
    pop = population.get(country)
    surface = area.get(country)
    if pop:
        fields.append(("População", str(int(pop))))
    if surface:
        fields.append(("Área", str(int(round(surface)))))
    if pop and surface:
        fields.append(("Densidade demográfica", number(round(pop / surface, 1))))
    city = capitals_by_code.get(code) or capitals_pt.get(capital.get(country), capital.get(country))
    if city:
        fields.append(("Capital", quote(city)))
    if continent.get(country) in continents_pt:
        fields.append(("Continente", quote(continents_pt[continent[country]])))
    if region.get(country) in regions_pt:
        fields.append(("Região", quote(regions_pt[region[country]])))
    member = [bloc for bloc, members in blocs.items() if code in members]
    if member:
        fields.append(("Blocos econômicos", quote("; ".join(member))))
    if currency.get(country):
        fields.append(("Moeda", quote(currency[country])))
    if tld.get(country):
        fields.append(("Domínio", quote(tld[country])))
    if landlocked.get(country) in ("0", "1"):
        fields.append(("Sem saída para o mar", quote("Sim" if landlocked[country] == "1" else "Não")))
    if calling.get(country):
        fields.append(("DDI", str(int(calling[country]))))
    if elevation.get(country) is not None:
        fields.append(("Altitude média", str(int(elevation[country]))))
    if temperature.get(country) is not None:
        fields.append(("Temperatura média", number(float(temperature[country]))))
    rows.append((name, fields))

def folded(text):
    return "".join(c for c in unicodedata.normalize("NFD", text) if not unicodedata.combining(c))


rows.sort(key=lambda row: folded(row[0]))
print("; The countries of the world: the source of DBPaises. Written by tools/convert-country-data.py")
print("; from the npm packages country-json 2.3.0 and i18n-iso-countries 7.14.0 (both MIT); see")
print("; content/SOURCES.md. A field a country lacks holds \"n.d.\" in the database.")
print("(table")
print('  ("Paises"')
print("    (list")
for name, fields in rows:
    print("      (table " + " ".join("(%s %s)" % (quote(k), v) for k, v in fields) + ")")
print(")))")
print("; %d countries" % len(rows), file=sys.stderr)
